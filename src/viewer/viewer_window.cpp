#include "viewer/viewer_window.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "platform/display_name.h"
#include "platform/item_path.h"
#include "viewer/picture_source.h"
#include "viewer/viewer_controls.h"

namespace tarvelin {

namespace {

const QString kActualSize = QStringLiteral("実寸表示");
const QString kWholePicture = QStringLiteral("全体表示");
const QString kReducedNote = QStringLiteral("（縮小表示）");

QRect toQRect(const PixelRect& r) {
    return {r.left, r.top, r.width, r.height};
}

void paintBlack(QWidget* w) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, Qt::black);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

}  // namespace

TViewer::TViewer(PictureSource& leftList, const QFont& font,
                 std::function<MainWindowPlacement()> mainPlacement, QWidget* parent,
                 const PictureLimits& limits)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      m_list(leftList),
      m_mainPlacement(std::move(mainPlacement)),
      m_loader(new PictureLoader(this, limits)) {
    setObjectName(QStringLiteral("TViewer"));
    setWindowTitle(QStringLiteral("画像ビューアー"));
    setFocusPolicy(Qt::StrongFocus);
    setFont(font);
    paintBlack(this);
    move(359, 287);
    resize(886, 687);

    Image1 = new PictureView(this);
    buildBar(font);
    buildMenu();
    m_control.bounds = frame().fitArea;
    FormResize();  // a hidden window gets its resize event only when first shown
    connect(Image1, &PictureView::leftPressed, this, [this](const QPoint& global) {
        if (m_control.freeMode) m_dragStart = beginDrag(m_control, global.x(), global.y());
    });
    connect(Image1, &PictureView::leftDragged, this, [this](const QPoint& global) {
        if (dragMoved(m_control, frame(), m_dragStart, global.x(), global.y())) applyControl();
    });
    connect(m_loader, &PictureLoader::ready, this, &TViewer::pictureArrived);
}

TViewer::~TViewer() = default;

void TViewer::buildBar(const QFont& font) {
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    paintBlack(Panel1);
    Panel1->setFont(font);
    Panel1->setGeometry(0, 0, width(), kBarHeight);
    Label4 = new BarLabel(QStringLiteral("Label4"), QStringLiteral("<< 先頭"), 4, Panel1);
    Label1 = new BarLabel(QStringLiteral("Label1"), QStringLiteral("< 戻る"), 64, Panel1);
    Label2 = new BarLabel(QStringLiteral("Label2"), QStringLiteral("次へ >"), 112, Panel1);
    Label5 = new BarLabel(QStringLiteral("Label5"), QStringLiteral("最終 >>"), 168, Panel1);
    Label9 = new BarLabel(QStringLiteral("Label9"), QStringLiteral("縮小"), 228, Panel1);
    Label8 = new BarLabel(QStringLiteral("Label8"), QStringLiteral("拡大"), 264, Panel1);
    Label7 = new BarLabel(QStringLiteral("Label7"), QStringLiteral("フルスクリーン切替"), 308, Panel1);
    Label10 = new BarLabel(QStringLiteral("Label10"), kActualSize, 428, Panel1);
    Label6 = new BarLabel(QStringLiteral("Label6"), QStringLiteral("*閉じる*"), 500, Panel1);
    Label3 = new QLabel(Panel1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette silver = Label3->palette();
    silver.setColor(QPalette::WindowText, QColor(192, 192, 192));
    Label3->setPalette(silver);
    Panel1->raise();

    connect(Label4, &BarLabel::clicked, this, &TViewer::Label4Click);
    connect(Label1, &BarLabel::clicked, this, &TViewer::Label1Click);
    connect(Label2, &BarLabel::clicked, this, &TViewer::Label2Click);
    connect(Label5, &BarLabel::clicked, this, &TViewer::Label5Click);
    connect(Label9, &BarLabel::clicked, this, &TViewer::N3Click);
    connect(Label8, &BarLabel::clicked, this, &TViewer::N2Click);
    connect(Label7, &BarLabel::clicked, this, &TViewer::N6Click);
    connect(Label10, &BarLabel::clicked, this, &TViewer::N1Click);
    connect(Label6, &BarLabel::clicked, this, &TViewer::Label6Click);
}

void TViewer::buildMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char* name, const QString& text) {
        QAction* action = PopupMenu1->addAction(text);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    auto separator = [this](const char* name) {
        QAction* action = PopupMenu1->addSeparator();
        action->setObjectName(QLatin1String(name));
        return action;
    };
    N1 = item("N1", kActualSize);
    N4 = separator("N4");
    N2 = item("N2", QStringLiteral("拡大"));
    N3 = item("N3", QStringLiteral("縮小"));
    N5 = separator("N5");
    N6 = item("N6", QStringLiteral("フルスクリーン切り替え"));
    N2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));
    N3->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    // The shortcuts work while the menu is closed.
    addAction(N2);
    addAction(N3);
    connect(N1, &QAction::triggered, this, &TViewer::N1Click);
    connect(N2, &QAction::triggered, this, &TViewer::N2Click);
    connect(N3, &QAction::triggered, this, &TViewer::N3Click);
    connect(N6, &QAction::triggered, this, &TViewer::N6Click);
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TViewer::PopupMenu1Popup);
}

const PicturePtr& TViewer::picture() const {
    return Image1->picture();
}

ViewerFrame TViewer::frame() const {
    ViewerFrame f;
    // Full screen has no frame, whatever a platform reports.
    const QSize outer = m_fullScreen ? size() : frameGeometry().size();
    f.outer = {outer.width(), outer.height()};
    f.fitArea = {0, kBarHeight, width(), std::max(0, height() - kBarHeight)};
    if (const PicturePtr& p = picture(); p && p->ok()) f.picture = shownSize(*p);
    return f;
}

PictureListView TViewer::listView() const {
    return {m_list.count(), [this](int i) { return m_list.name(i); }};
}

void TViewer::updateCaptions() {
    Label10->setText(m_control.freeMode ? kWholePicture : kActualSize);
    Label10->adjustSize();
    Label10->resize(Label10->width(), kBarHeight);
    const PicturePtr& p = picture();
    Label3->setText(p && reducedForView(*p, neededArea()) ? m_fileNameCaption + kReducedNote
                                                          : m_fileNameCaption);
}

void TViewer::applyControl() {
    if (m_control.mode == PictureControl::Mode::Fit) m_control.bounds = frame().fitArea;
    Image1->setMode(m_control.mode);
    Image1->setGeometry(toQRect(m_control.bounds));
    Image1->update();
    updateCaptions();
    ensureDetail();
}

// Preview and loading

void TViewer::PreviewFocusedImage() {
    const int i = m_list.focusedIndex();
    if (i >= 0 && i < m_list.count()) {
        const std::string name = m_list.name(i);
        if (isPictureFileName(name)) {
            LoadPicture(itemPath(m_list.folder(), name));
            SetFileNameCaption(m_list.isSelected(i) ? displayName(name) : QString());
            ChooseDisplayMode();
        }
    }
    m_list.updateInformationStrip();
}

void TViewer::LoadPicture(const std::string& path) {
    m_requestedPath = path;
    const PixelSize area{frame().fitArea.width, frame().fitArea.height};
    m_expectNewPicture = true;
    // A copy decoded ahead is shown at once; the worker still checks that the file is unchanged and hands a
    // changed one over as a new picture. The cache is asked first: what the worker finishes after this
    // arrives through it.
    PicturePtr have = m_loader->cached(path, area);
    m_expectTicket = m_loader->show(path, area);
    m_waitingForPicture = !have;
    if (have) {
        showPicture(std::move(have), false);
        prefetchNeighbours();
    }
}

void TViewer::showPicture(PicturePtr picture, bool choose) {
    Image1->setPicture(std::move(picture));
    pictureReplaced(m_control, frame());
    if (choose)
        ChooseDisplayMode();
    else
        applyControl();
    update();
    emit pictureShown();
}

void TViewer::pictureArrived(uint64_t ticket, PicturePtr picture) {
    if (ticket != m_expectTicket) return;
    m_expectTicket = 0;
    m_waitingForPicture = false;
    if (picture == Image1->picture()) {
        m_expectNewPicture = false;
        ensureDetail();
    } else if (m_expectNewPicture) {
        m_expectNewPicture = false;
        showPicture(std::move(picture), true);
        prefetchNeighbours();
    } else {
        showPicture(std::move(picture), false);  // more detail of the picture shown
    }
}

PixelSize TViewer::neededArea() const {
    if (m_control.mode != PictureControl::Mode::Fit) return {};
    const PixelRect area = frame().fitArea;
    return {area.width, area.height};
}

void TViewer::ensureDetail() {
    const PicturePtr& p = picture();
    if (!p || m_waitingForPicture || m_expectTicket != 0) return;
    const PixelSize area = neededArea();
    if (detailSuffices(*p, area)) return;
    m_expectNewPicture = false;
    m_expectTicket = m_loader->show(p->path, area);
}

void TViewer::prefetchNeighbours() {
    const PictureListView view = listView();
    const int focused = m_list.focusedIndex();
    std::vector<std::string> paths;
    for (int step : {1, -1}) {
        const std::optional<int> i = neighbourPicture(view, focused, step);
        if (!i) continue;
        std::string path = itemPath(m_list.folder(), view.name(*i));
        if (path != m_requestedPath && (paths.empty() || paths.front() != path))
            paths.push_back(std::move(path));
    }
    const PixelRect area = frame().fitArea;
    m_loader->prefetch(paths, {area.width, area.height});
}

void TViewer::SetFileNameCaption(const QString& text) {
    m_fileNameCaption = text;
    updateCaptions();
}

// Display modes

void TViewer::ChooseDisplayMode() {
    chooseDisplayMode(m_control, frame());
    applyControl();
}

void TViewer::N1Click() {
    switchDisplayMode(m_control, frame());
    applyControl();
}

void TViewer::N2Click() {
    zoom(m_control, frame(), kZoomIn);
    applyControl();
}

void TViewer::N3Click() {
    zoom(m_control, frame(), kZoomOut);
    applyControl();
}

void TViewer::PopupMenu1Popup() {
    N1->setText(m_control.freeMode ? kWholePicture : kActualSize);
}

void TViewer::contextMenuEvent(QContextMenuEvent* event) {
    PopupMenu1->popup(event->globalPos());
}

// Paging

void TViewer::selectInstead(int from, int to) {
    if (from >= 0 && from < m_list.count()) m_list.setSelected(from, false);
    m_list.setSelected(to, true);
    m_list.setFocused(to);
}

void TViewer::movePicture(int step) {
    const int n = m_list.count();
    int i = m_list.focusedIndex();
    // Each item passed over is selected and deselected in turn, as a walk through the list would.
    for (int walked = 0; walked <= n; ++walked) {
        int target;
        if (i < 0 || i >= n)
            target = step > 0 ? 0 : n - 1;
        else
            target = (i + step + n) % n;
        selectInstead(i, target);
        if (isPictureFileName(m_list.name(target))) {
            PreviewFocusedImage();
            return;
        }
        i = target;
    }
}

void TViewer::FormKeyDown(int key) {
    if (!holdsPictureFile(listView())) return;
    if (key == 13)
        movePicture(1);
    else if (key == 8)
        movePicture(-1);
    else if (key == 32)
        N6Click();
    centreIfWithin(m_control, frame(), 30);
    applyControl();
}

void TViewer::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            FormKeyDown(13);
            break;
        case Qt::Key_Backspace:
            FormKeyDown(8);
            break;
        case Qt::Key_Space:
            FormKeyDown(32);
            break;
        default:
            FormKeyDown(event->key());
            break;
    }
}

void TViewer::Label2Click() {
    FormKeyDown(13);
    ChooseDisplayMode();
}

void TViewer::Label1Click() {
    FormKeyDown(8);
    ChooseDisplayMode();
}

void TViewer::Label4Click() {
    if (m_list.count() == 0) return;
    const std::optional<int> found = firstPicture(listView());
    if (found) {
        selectInstead(m_list.focusedIndex(), *found);
        PreviewFocusedImage();
    }
    ChooseDisplayMode();
}

void TViewer::Label5Click() {
    if (m_list.count() == 0) return;
    const std::optional<int> found = lastPicture(listView());
    if (!found) {
        ChooseDisplayMode();
        return;
    }
    selectInstead(m_list.focusedIndex(), *found);
    PreviewFocusedImage();
}

// The window

void TViewer::Show() {
    show();
    raise();
    activateWindow();
}

void TViewer::Label6Click() {
    close();
}

QMargins TViewer::frameMargins() const {
    const QRect outer = frameGeometry(), inner = geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

void TViewer::setOuterBounds(const PixelRect& b, const QMargins& m) {
    setGeometry(b.left + m.left(), b.top + m.top(), std::max(1, b.width - m.left() - m.right()),
                std::max(1, b.height - m.top() - m.bottom()));
}

void TViewer::N6Click() {
    m_changingFrame = true;
    if (!m_fullScreen) {
        const QRect outer = frameGeometry();
        m_savedBounds = {outer.x(), outer.y(), outer.width(), outer.height()};
        m_savedFrame = frameMargins();
        m_fullScreen = true;
        setWindowFlag(Qt::FramelessWindowHint, true);
        const QRect s = screen()->geometry();
        setGeometry(0, 0, s.width(), s.height());
    } else {
        m_fullScreen = false;
        setWindowFlag(Qt::FramelessWindowHint, false);
        // The frame comes back as it was, so the client bounds inside the saved outer ones are known now.
        setOuterBounds(m_savedBounds, m_savedFrame);
    }
    show();
    m_changingFrame = false;
}

void TViewer::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
    if (!m_changingFrame) emit visibilityChanged(true);
}

void TViewer::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!m_changingFrame) emit visibilityChanged(false);
}

void TViewer::FormShow() {
    if (m_placed) return;
    m_control.freeMode = false;
    updateCaptions();
    m_placed = true;
    if (!m_mainPlacement) return;
    const QRect area = screen()->availableGeometry();
    const PixelRect bounds =
        firstShowBounds(m_mainPlacement(), {area.x(), area.y(), area.width(), area.height()});
    setOuterBounds(bounds, frameMargins());
    // A window manager adds the frame only once the window is mapped: place it again when the frame is known.
    const QMargins used = frameMargins();
    for (int delay : {0, 100, 400}) {
        QTimer::singleShot(delay, this, [this, bounds, used] {
            if (frameMargins() != used && !m_fullScreen) setOuterBounds(bounds, frameMargins());
        });
    }
}

void TViewer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TViewer::FormResize() {
    Panel1->setGeometry(0, 0, width(), kBarHeight);
    const int labelLeft = Label6->geometry().right() + 8;
    Label3->setGeometry(labelLeft, 0, std::max(0, width() - labelLeft - 4), kBarHeight);
    windowResized(m_control, frame());
    applyControl();
}

void TViewer::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    const PicturePtr& p = picture();
    if (!p || p->ok()) return;
    QPainter painter(this);
    painter.setPen(QColor(128, 128, 128));
    painter.drawText(toQRect(frame().fitArea), Qt::AlignCenter, QStringLiteral("表示できません"));
}

}  // namespace tarvelin
