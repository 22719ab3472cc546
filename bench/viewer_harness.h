#pragma once

// What the viewer benchmarks share: a left file list of given files, and waiting until the viewer is done.
#include <QApplication>
#include <filesystem>
#include <string>
#include <vector>

#include "viewer/picture_source.h"
#include "viewer/viewer_window.h"

class PhotoList final : public tarvelin::PictureSource {
public:
    explicit PhotoList(const std::vector<std::string>& files)
        : m_folder(std::filesystem::path(files[0]).parent_path().string()) {
        for (const std::string& f : files) m_names.push_back(std::filesystem::path(f).filename().string());
    }
    int count() const override { return static_cast<int>(m_names.size()); }
    std::string name(int i) const override { return m_names[static_cast<size_t>(i)]; }
    std::string folder() const override { return m_folder; }
    int focusedIndex() const override { return m_focused; }
    bool isSelected(int i) const override { return i == m_focused; }
    void setSelected(int, bool) override {}
    void setFocused(int i) override { m_focused = i; }
    void updateInformationStrip() override {}

private:
    std::string m_folder;
    std::vector<std::string> m_names;
    int m_focused = 0;
};

// Until the worker is idle and what it handed over is shown.
inline void settleViewer(tarvelin::TViewer& viewer) {
    for (int i = 0; i < 3; ++i) {
        viewer.loader().waitIdle();
        QApplication::processEvents();
    }
}
