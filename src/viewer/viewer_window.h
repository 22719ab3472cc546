#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "viewer/picture_loader.h"
#include "viewer/picture_paging.h"
#include "viewer/view_geometry.h"

class QAction;
class QLabel;
class QMenu;

namespace tarvelin {

class BarLabel;
class PictureSource;
class PictureView;

// The picture viewer: a stay-on-top window showing the picture last chosen in the left file list, paging
// through that list's pictures. Closing hides it; it lives as long as the main window.
class TViewer final : public QWidget {
    Q_OBJECT
public:
    // `font` is the bar's font; `mainPlacement` tells the first show where the main window and its panes are.
    TViewer(PictureSource& leftList, const QFont& font, std::function<MainWindowPlacement()> mainPlacement,
            QWidget* parent = nullptr, const PictureLimits& limits = {});
    ~TViewer() override;

    // Makes the window visible and brings it to the front.
    void Show();

    // Offered to the main window
    void PreviewFocusedImage();
    void LoadPicture(const std::string& path);
    void SetFileNameCaption(const QString& text);
    void ChooseDisplayMode();

    // Commands
    void Label1Click();  // previous
    void Label2Click();  // next
    void Label4Click();  // first
    void Label5Click();  // last
    void Label6Click();  // close
    void N1Click();      // display-mode switch
    void N2Click();      // zoom in
    void N3Click();      // zoom out
    void N6Click();      // full screen switch
    void FormKeyDown(int key);
    void PopupMenu1Popup();

    const PictureControl& control() const { return m_control; }
    bool freeMode() const { return m_control.freeMode; }
    bool fullScreen() const { return m_fullScreen; }
    // The picture drawn now and the path asked for last (which may still be decoding).
    const PicturePtr& picture() const;
    const std::string& requestedPath() const { return m_requestedPath; }
    bool decoding() const { return m_waitingForPicture; }
    PictureLoader& loader() { return *m_loader; }

    QWidget* Panel1 = nullptr;
    PictureView* Image1 = nullptr;
    BarLabel* Label4 = nullptr;
    BarLabel* Label1 = nullptr;
    BarLabel* Label2 = nullptr;
    BarLabel* Label5 = nullptr;
    BarLabel* Label9 = nullptr;
    BarLabel* Label8 = nullptr;
    BarLabel* Label7 = nullptr;
    BarLabel* Label10 = nullptr;
    BarLabel* Label6 = nullptr;
    QLabel* Label3 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N1 = nullptr;
    QAction* N4 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;
    QAction* N5 = nullptr;
    QAction* N6 = nullptr;

    static constexpr int kBarHeight = 12;

signals:
    // Visible or hidden: the main window's menu item follows.
    void visibilityChanged(bool visible);
    // A picture asked for was put on screen (decoded or refused).
    void pictureShown();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void buildBar(const QFont& font);
    void buildMenu();
    ViewerFrame frame() const;
    PictureListView listView() const;
    void applyControl();
    void updateCaptions();
    void movePicture(int step);
    void selectInstead(int from, int to);
    void pictureArrived(uint64_t ticket, PicturePtr picture);
    void showPicture(PicturePtr picture, bool choose);
    void ensureDetail();
    void prefetchNeighbours();
    PixelSize neededArea() const;
    QMargins frameMargins() const;
    void setOuterBounds(const PixelRect& bounds, const QMargins& frame);
    void FormShow();
    void FormResize();

    PictureSource& m_list;
    std::function<MainWindowPlacement()> m_mainPlacement;
    PictureLoader* m_loader;
    PictureControl m_control;
    std::string m_requestedPath;
    QString m_fileNameCaption;
    uint64_t m_expectTicket = 0;
    bool m_expectNewPicture = false;
    bool m_waitingForPicture = false;
    bool m_changingFrame = false;
    bool m_placed = false;
    bool m_fullScreen = false;
    PixelRect m_savedBounds;
    QMargins m_savedFrame;
    DragStart m_dragStart;
};

}  // namespace tarvelin
