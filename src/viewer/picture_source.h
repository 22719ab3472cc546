#pragma once

#include <string>

namespace tarvelin {

// The left file list as the viewer reads and moves it. Selection changes made through it are the program's
// own: they never come back to the viewer as a user's selection.
class PictureSource {
public:
    virtual ~PictureSource() = default;
    virtual int count() const = 0;
    virtual std::string name(int index) const = 0;  // bytes, as the file system has them
    virtual std::string folder() const = 0;
    virtual int focusedIndex() const = 0;  // -1 when none
    virtual bool isSelected(int index) const = 0;
    virtual void setSelected(int index, bool selected) = 0;
    virtual void setFocused(int index) = 0;
    // The information strip under the list follows its focused file.
    virtual void updateInformationStrip() = 0;
};

}  // namespace tarvelin
