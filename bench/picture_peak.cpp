// Shows one picture in the viewer as the program does when it is picked in the file list, then prints the
// process's peak resident memory. viewer_budget_bench.cpp runs it once a picture, so that every figure is
// a peak of its own.
//   tarvelin_picture_peak FILE fit|actual   →   "<VmHWM in kB> <status> <shown width>x<height>"
#include <QApplication>
#include <cstdio>
#include <fstream>
#include <string>

#include "viewer_harness.h"

namespace {

long peakKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FILE fit|actual\n", argv[0]);
        return 2;
    }
    const std::string file = argv[1], view = argv[2];
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PhotoList list({file});
    tarvelin::TViewer viewer(list, QFont(), nullptr);
    viewer.resize(886, 687);
    viewer.show();
    const auto settle = [&] {
        settleViewer(viewer);
        viewer.repaint();
    };
    viewer.PreviewFocusedImage();
    settle();
    if (view == "actual" && viewer.control().mode != tarvelin::PictureControl::Mode::ActualSize) {
        viewer.N1Click();
        settle();
    }
    const tarvelin::PicturePtr& p = viewer.picture();
    const tarvelin::PixelSize shown = p && p->ok() ? tarvelin::shownSize(*p) : tarvelin::PixelSize{};
    std::printf("%ld %d %dx%d\n", peakKilobytes(), p ? static_cast<int>(p->status) : -1, shown.width,
                shown.height);
    return 0;
}
