#include "lists/uri_list.h"

#include <gtest/gtest.h>

namespace tarvelin {
namespace {

using Lines = std::vector<std::string>;

TEST(UriList, EscapesComeBackAsTheirBytesOrTheUriIsRefused) {
    struct Case {
        std::string uri;
        const char* path;  // nullptr: refused
    } cases[] = {
        {"file:///tmp/%8E%91%97%BF.txt", "/tmp/\x8e\x91\x97\xbf.txt"},
        {"file:///tmp/a%20b%e8%b3%87%25", "/tmp/a b\xe8\xb3\x87%"},
        {"file:///tmp/%zz", nullptr},
        {"file:///tmp/a%4", nullptr},
        {"file:///tmp/a%00b", nullptr},
        {"file:///tmp/a%0Ab", nullptr},
        {"file:///tmp/a\rb", nullptr},
    };
    for (const Case& c : cases) {
        const UriListPaths found = localPathsOfUriList(" " + c.uri + "\r\n");
        EXPECT_EQ(found.paths, c.path ? Lines{c.path} : Lines{}) << c.uri;
        EXPECT_EQ(found.refused, c.path ? Lines{} : Lines{c.uri}) << c.uri;
    }
}

}  // namespace
}  // namespace tarvelin
