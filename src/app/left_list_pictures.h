#pragma once

#include "viewer/picture_source.h"

namespace tarvelin {

class FilePane;

// The left file list as the viewer pages through it. Its selection changes are the program's own, so they
// never come back to the viewer as a user's selection.
class LeftListPictures final : public PictureSource {
public:
    explicit LeftListPictures(FilePane& pane) : m_pane(pane) {}

    int count() const override;
    std::string name(int index) const override;
    std::string folder() const override;
    int focusedIndex() const override;
    bool isSelected(int index) const override;
    void setSelected(int index, bool selected) override;
    void setFocused(int index) override;
    void updateInformationStrip() override;

private:
    FilePane& m_pane;
};

}  // namespace tarvelin
