#pragma once

#include <sys/types.h>

#include <ctime>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tarvelin {

// Where the freedesktop trash lies for this user, and the clock for the deletion date.
struct TrashSettings {
    std::string homeTrash;  // "$XDG_DATA_HOME/Trash", i.e. "~/.local/share/Trash"
    uid_t uid = 0;
    std::function<std::time_t()> now;

    static TrashSettings forCurrentUser();
};

enum class TrashStatus { Trashed, NoTrash, Failed };

struct TrashResult {
    TrashStatus status = TrashStatus::Failed;
    int error = 0;            // errno when Failed
    std::string trashedPath;  // the item's new path under files/ when Trashed
};

// Moves items into the freedesktop trash: the home trash for items on its volume, else the volume's own
// "$topdir/.Trash/$uid" (when an administrator made .Trash sticky) or "$topdir/.Trash-$uid". The .trashinfo
// file is written before the item moves, so a crash never leaves an item in the trash without its origin.
// Paths are bytes; the origin is written percent-encoded, so names that are not UTF-8 survive intact.
class Trash {
public:
    explicit Trash(TrashSettings settings);
    ~Trash();
    Trash(const Trash&) = delete;
    Trash& operator=(const Trash&) = delete;

    TrashResult moveToTrash(const std::string& path);

private:
    struct Place {
        int files = -1;
        int info = -1;
        std::string filesPath;
        std::string topdir;  // empty for the home trash, whose origins are absolute
        // The number to try first for a name already met in this trash: counting up from 1 for each of many
        // items of one name would make trashing them quadratic. The O_EXCL claim still decides.
        std::unordered_map<std::string, int> nextNumber;
    };
    Place* placeFor(dev_t device, const std::string& canonicalParent);
    std::optional<Place> openPlace(const std::string& trashFolder, std::string topdir);
    // Sets the m_last* members for `parent`; 0 or errno.
    int locate(const std::string& parent);

    TrashSettings m_settings;
    std::map<dev_t, std::optional<Place>> m_places;
    std::optional<dev_t> m_homeDevice;
    std::string m_lastParent, m_lastCanonical;  // realpath() walks every component; folders repeat
    dev_t m_lastDevice = 0;
    std::string m_up, m_upCanonical;  // the last folder's parent as given and its real path
};

// Each byte outside A–Z a–z 0–9 - . _ ~ / as %XX (upper-case hex).
std::string percentEncodePath(std::string_view path);

}  // namespace tarvelin
