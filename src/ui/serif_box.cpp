#include "ui/serif_box.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <thread>

#include "ui/fonts.h"

namespace velmora::ui {

// ---- grid ------------------------------------------------------------------

SerifGrid SerifGrid::forBox(QSize box, int textWidth, int textHeight, int horizontalSpace,
                            int verticalSpace) {
    SerifGrid grid;
    grid.textWidth = std::max(1, textWidth);
    grid.textHeight = std::max(1, textHeight);
    grid.horizontalSpace = horizontalSpace;
    grid.verticalSpace = verticalSpace;
    // A box too small for one cell still gets one, so nothing divides by 0.
    grid.columns = std::max(1, (box.width() - 2 * horizontalSpace) / grid.textWidth);
    grid.rows = std::max(1, (box.height() - 2 * verticalSpace) / grid.textHeight);
    return grid;
}

int SerifGrid::columnOf(int cell) const {
    const int col = cell % columns;
    return col == 0 ? columns : col;
}

int SerifGrid::rowOf(int cell) const {
    const int col = cell % columns;
    const int row = (col > 0 ? cell / columns + 1 : cell / columns) % rows;
    return row == 0 ? rows : row;
}

QPoint SerifGrid::cellPosition(int cell) const {
    return {(columnOf(cell) - 1) * textWidth + horizontalSpace,
            (rowOf(cell) - 1) * textHeight + verticalSpace};
}

QRect SerifGrid::waitMarkRect() const {
    const QPoint last = cellPosition(cellsPerPage());
    const int left = last.x() + textWidth;
    const int bottom = last.y() + textHeight;
    // QRect's right and bottom are inclusive: the square is textWidth wide.
    return QRect(QPoint(left, bottom - textWidth), QSize(textWidth, textWidth));
}

// ---- cells -----------------------------------------------------------------

SerifCells::SerifCells() : cells_(MaxSerifChars + 1, U'\0') {}

void SerifCells::clear() {
    std::fill(cells_.begin(), cells_.end(), U'\0');
    total_ = 0;
}

void SerifCells::put(int i, char32_t c) {
    if (i >= 1 && i <= MaxSerifChars) cells_[static_cast<std::size_t>(i)] = c;
}

int SerifCells::layOut(const QStringList& lines, int columns) {
    clear();
    columns = std::max(1, columns);
    QString text;
    for (const QString& line : lines) text += line + QStringLiteral("\r\n");

    int i = 1;
    const qsizetype length = text.size();
    for (qsizetype p = 0; p < length && i <= MaxSerifChars; ++p) {
        char32_t c = text[p].unicode();
        // A surrogate pair is one character, and so one cell.
        if (text[p].isHighSurrogate() && p + 1 < length && text[p + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[p], text[p + 1]);
            ++p;
        }
        if (c == U'\r') {
            const int column = i % columns == 0 ? columns : i % columns;
            int n = columns - column;
            if (n == 0) n = columns;
            for (int k = 0; k <= n; ++k) put(i++, U' ');
        } else if (c != U'\n' && c != U'\0') {
            put(i++, c);
        }
    }
    total_ = std::min(i - 1, MaxSerifChars);
    return total_;
}

QString SerifCells::cell(int i) const {
    if (i < 1 || i > total_) return {};
    const char32_t c = cells_[static_cast<std::size_t>(i)];
    return c == U'\0' ? QString() : QString::fromUcs4(&c, 1);
}

bool SerifCells::isBlank(int i) const {
    return i >= 1 && i <= total_ && cells_[static_cast<std::size_t>(i)] == U' ';
}

// ---- box -------------------------------------------------------------------

SerifBox::SerifBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont face = uiFont(kPMincho, 9);
    face.setPixelSize(std::max(8, textHeight_ - 2));
    setFont(face);
}

SerifBox::~SerifBox() {
    // A flow waiting in a nested loop notices the deletion when it resumes.
    if (blinkLoop_ != nullptr) blinkLoop_->quit();
}

void SerifBox::setTextWidth(int pixels) {
    textWidth_ = std::max(1, pixels);
}

void SerifBox::setTextHeight(int pixels) {
    textHeight_ = std::max(1, pixels);
    QFont face = font();
    face.setPixelSize(std::max(8, textHeight_ - 2));
    setFont(face);
}

void SerifBox::setHorizontalSpace(int pixels) {
    horizontalSpace_ = std::max(0, pixels);
}

void SerifBox::setVerticalSpace(int pixels) {
    verticalSpace_ = std::max(0, pixels);
}

SerifGrid SerifBox::grid() const {
    return SerifGrid::forBox(size(), textWidth_, textHeight_, horizontalSpace_, verticalSpace_);
}

void SerifBox::Play(bool pumpWhileTyping) {
    if (lines_.isEmpty()) return;
    const SerifGrid g = grid();
    const int total = cells_.layOut(lines_, g.columns);
    if (total == 0) return;
    cursor_ = 1;
    pageStart_ = 1;
    pageEnd_ = std::min(g.cellsPerPage(), total);
    stopped_ = false;
    waiting_ = false;
    pumpWhileTyping_ = pumpWhileTyping;
    const unsigned generation = ++generation_;
    QPointer<SerifBox> self(this);
    emit flowStarted();
    if (!self || !flowStillOurs(generation)) return;
    flow(generation);
}

void SerifBox::Stop() {
    stopped_ = true;
    waiting_ = false;
    if (blinkLoop_ != nullptr) blinkLoop_->quit();
}

void SerifBox::NextPage() {
    if (!waiting_) return;
    int direction = 0;
    QPointer<SerifBox> self(this);
    emit pageChange(direction);
    if (!self) return;
    direction_ = direction;
    waiting_ = false;
    if (blinkLoop_ != nullptr) blinkLoop_->quit();
}

void SerifBox::FinishPage() {
    if (isTyping()) finishing_ = true;
}

void SerifBox::ClearText() {
    cells_.clear();
    cursor_ = 0;
    pageStart_ = 0;
    pageEnd_ = 0;
    renderPage();
    update();
}

void SerifBox::flow(unsigned generation) {
    QPointer<SerifBox> self(this);
    const int cellsPerPage = grid().cellsPerPage();
    while (true) {
        if (stopped_) return;
        finishing_ = false;
        renderPage();
        showNow();

        // Type the page from the cursor on.
        while (true) {
            if (stopped_) return;
            if (!cells_.isBlank(cursor_)) {
                {
                    QPainter painter(&canvas_);
                    drawCell(painter, cursor_);
                }
                if (!finishing_) showNow();
                emit flowText();
                if (!self || !flowStillOurs(generation)) return;
                if (!finishing_) charWait();
            } else if (!spaceSkip_ && !finishing_) {
                charWait();
            }
            if (!self || !flowStillOurs(generation)) return;
            ++cursor_;
            if (cursor_ > pageEnd_ || cursor_ > total()) break;
        }
        if (finishing_) showNow();

        if (cursor_ > total()) {
            if (!autoStop_ && !waitPage(generation)) return;
            cursor_ = total();
            pageEnd_ = total();
            eraseWaitMark();
            showNow();
            stopped_ = true;
            emit flowEnded();
            return;
        }

        // The page is full: wait, then turn the page the way the handler chose.
        bool turned = false;
        while (!turned) {
            if (!waitPage(generation)) return;
            if (direction_ == 0) {
                pageStart_ = pageEnd_ + 1;
                turned = true;
            } else if (direction_ == 1) {
                pageStart_ = std::max(1, pageStart_ - cellsPerPage);
                turned = true;
            } else if (stopped_) {
                return;
            }
            // Any other direction stays on the finished page and waits again,
            // rather than typing the next page's first cell over this one.
        }
        cursor_ = pageStart_;
        pageEnd_ = std::min(pageStart_ + cellsPerPage - 1, total());
    }
}

bool SerifBox::waitPage(unsigned generation) {
    QPointer<SerifBox> self(this);
    ensureCanvas();
    const QRect mark = grid().waitMarkRect();
    savedMark_ = canvas_.copy(mark);
    waiting_ = true;
    bool full = true;
    while (waiting_) {
        if (showWaitCursor_) drawWaitMark(full);
        full = !full;
        showNow();
        blinkWait();
        if (!self || !flowStillOurs(generation)) return false;
        fillWaitMarkSquare(savedMark_);
        showNow();
        emit idle();
        if (!self || !flowStillOurs(generation)) return false;
    }
    return true;
}

void SerifBox::charWait() {
    QElapsedTimer clock;
    clock.start();
    QPointer<SerifBox> self(this);
    while (clock.elapsed() < waitTime_) {
        if (pumpWhileTyping_) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            if (!self || stopped_) return;
        }
        // Input stays queued meanwhile; a short sleep keeps the wait from
        // burning a core.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void SerifBox::blinkWait() {
    QEventLoop loop;
    QTimer::singleShot(SerifBlinkMs, &loop, &QEventLoop::quit);
    QEventLoop* outer = blinkLoop_;
    blinkLoop_ = &loop;
    QPointer<SerifBox> self(this);
    loop.exec();
    if (self) blinkLoop_ = outer;
}

void SerifBox::ensureCanvas() {
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (canvas_.size() != wanted) {
        canvas_ = QImage(wanted, QImage::Format_RGB32);
        canvas_.fill(Qt::black);
    }
}

void SerifBox::renderPage() {
    ensureCanvas();
    canvas_.fill(Qt::black);
    if (pageStart_ <= 0) return;
    QPainter painter(&canvas_);
    for (int i = pageStart_; i <= pageEnd_ && i <= cursor_ && i <= total(); ++i) {
        drawCell(painter, i);
    }
}

void SerifBox::drawCell(QPainter& painter, int cell) {
    const QString text = cells_.cell(cell);
    if (text.isEmpty()) return;
    const SerifGrid g = grid();
    painter.setFont(font());
    painter.setPen(Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    // Room for two cells so a wide glyph is never clipped.
    const QRect box(g.cellPosition(cell), QSize(2 * g.textWidth, g.textHeight));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

void SerifBox::drawWaitMark(bool full) {
    ensureCanvas();
    QRect mark = grid().waitMarkRect();
    if (!full) mark.setTop(mark.top() + textHeight_ / 2);
    QPainter painter(&canvas_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(mark);
}

void SerifBox::fillWaitMarkSquare(const QImage& with) {
    ensureCanvas();
    QPainter painter(&canvas_);
    painter.drawImage(grid().waitMarkRect().topLeft(), with);
}

void SerifBox::eraseWaitMark() {
    ensureCanvas();
    QPainter painter(&canvas_);
    painter.fillRect(grid().waitMarkRect(), Qt::black);
}

void SerifBox::showNow() {
    // Typing does not serve the event loop, so paint synchronously.
    if (isVisible()) {
        repaint();
    } else {
        update();
    }
}

void SerifBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (canvas_.size() != size()) {
        painter.fillRect(rect(), Qt::black);
    }
    painter.drawImage(0, 0, canvas_);
}

void SerifBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    renderPage();
}

void SerifBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
    if (event->button() == Qt::RightButton) emit rightClicked();
    QWidget::mousePressEvent(event);
}

}  // namespace velmora::ui
