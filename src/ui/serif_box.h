// The dialogue text box: lays text out on a fixed grid of character cells,
// types it out one cell at a time and waits for a click after every page.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QWidget>
#include <vector>

class QEventLoop;

namespace velmora::ui {

inline constexpr int MaxSerifChars = 100000;
inline constexpr int SerifBlinkMs = 150;

// Geometry of the cell grid inside a box of a given size.
struct SerifGrid {
    int textWidth = 15;
    int textHeight = 15;
    int horizontalSpace = 5;
    int verticalSpace = 5;
    int columns = 1;
    int rows = 1;

    static SerifGrid forBox(QSize box, int textWidth, int textHeight, int horizontalSpace,
                            int verticalSpace);

    int cellsPerPage() const { return columns * rows; }
    // Column and row (both 1-based) of cell i (1-based); pages wrap onto
    // the same rows.
    int columnOf(int cell) const;
    int rowOf(int cell) const;
    // Top-left pixel of cell i.
    QPoint cellPosition(int cell) const;
    // The square right of the page's last cell where the wait mark blinks.
    QRect waitMarkRect() const;
};

// The cells of one laid-out text. A cell holds one whole character (a
// double-byte character of the original text is one cell, as a single-byte
// one is), or nothing. The store is allocated once; laying out allocates
// no cells.
class SerifCells {
public:
    SerifCells();

    // Lays the lines out for a grid of `columns` columns: each line is
    // followed by CR LF; a CR fills the rest of the row with blanks (a full
    // extra row when it falls on the last column); LF and NUL are dropped.
    // Text past MaxSerifChars cells is cut off. Returns Total.
    int layOut(const QStringList& lines, int columns);
    void clear();

    int total() const { return total_; }
    // Cell i (1-based) as text; empty outside 1..total.
    QString cell(int i) const;
    bool isBlank(int i) const;

private:
    void put(int i, char32_t c);

    std::vector<char32_t> cells_;  // index 0 unused
    int total_ = 0;
};

class SerifBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int TextWidth READ textWidth WRITE setTextWidth)
    Q_PROPERTY(int TextHeight READ textHeight WRITE setTextHeight)
    Q_PROPERTY(int HorizontalSpace READ horizontalSpace WRITE setHorizontalSpace)
    Q_PROPERTY(int VerticalSpace READ verticalSpace WRITE setVerticalSpace)
    Q_PROPERTY(QStringList Lines READ lines WRITE setLines)
    Q_PROPERTY(int WaitTime READ waitTime WRITE setWaitTime)
    Q_PROPERTY(bool ShowWaitCursor READ showWaitCursor WRITE setShowWaitCursor)
    Q_PROPERTY(bool SpaceSkip READ spaceSkip WRITE setSpaceSkip)
    Q_PROPERTY(bool AutoStop READ autoStop WRITE setAutoStop)

public:
    explicit SerifBox(QWidget* parent = nullptr);
    ~SerifBox() override;

    int textWidth() const { return textWidth_; }
    void setTextWidth(int pixels);
    int textHeight() const { return textHeight_; }
    void setTextHeight(int pixels);
    int horizontalSpace() const { return horizontalSpace_; }
    void setHorizontalSpace(int pixels);
    int verticalSpace() const { return verticalSpace_; }
    void setVerticalSpace(int pixels);
    const QStringList& lines() const { return lines_; }
    void setLines(const QStringList& lines) { lines_ = lines; }
    int waitTime() const { return waitTime_; }
    void setWaitTime(int ms) { waitTime_ = ms < 0 ? 0 : ms; }
    bool showWaitCursor() const { return showWaitCursor_; }
    void setShowWaitCursor(bool on) { showWaitCursor_ = on; }
    bool spaceSkip() const { return spaceSkip_; }
    void setSpaceSkip(bool on) { spaceSkip_ = on; }
    bool autoStop() const { return autoStop_; }
    void setAutoStop(bool on) { autoStop_ = on; }

    // Lays out Lines and types it out; returns when the flow has ended or
    // was stopped. Waits serve the event loop, so other windows stay live;
    // the per-character wait serves it only when pumpWhileTyping is true.
    void Play(bool pumpWhileTyping);
    // Ends a page wait and the flow.
    void Stop();
    // Ends the current page wait (only while waiting), moving by the
    // direction pageChange leaves: 0 next page, 1 previous page, other stay.
    void NextPage();
    // Empties the cells and the box.
    void ClearText();
    // While a page types: shows the rest of the page at once (the wait at
    // its end stays). Does nothing otherwise.
    void FinishPage();

    bool isStopped() const { return stopped_; }
    bool isWaiting() const { return waiting_; }
    bool isTyping() const { return !stopped_ && !waiting_; }
    SerifGrid grid() const;
    const SerifCells& cells() const { return cells_; }
    int cursor() const { return cursor_; }
    int pageStart() const { return pageStart_; }
    int pageEnd() const { return pageEnd_; }
    int total() const { return cells_.total(); }
    // What the box shows now, for tests and screenshots.
    const QImage& canvas() const { return canvas_; }

signals:
    void flowStarted();
    // Fired when a click ends a page wait; the handler may change direction.
    void pageChange(int& direction);
    void flowText();
    void idle();
    void flowEnded();
    // A left click on the box. The box turns no page by itself: its window
    // connects this to NextPage.
    void clicked();
    // A right click on the box.
    void rightClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Types pages until the text has been acknowledged, or until the box is
    // stopped, deleted or taken over by a newer Play.
    void flow(unsigned generation);
    // False when the flow must be abandoned: the box was deleted or a newer
    // Play took over.
    bool waitPage(unsigned generation);
    void charWait();
    void blinkWait();
    bool flowStillOurs(unsigned generation) const { return generation == generation_; }

    void renderPage();
    void drawCell(QPainter& painter, int cell);
    void drawWaitMark(bool full);
    void fillWaitMarkSquare(const QImage& with);
    void eraseWaitMark();
    void ensureCanvas();
    void showNow();

    int textWidth_ = 15;
    int textHeight_ = 15;
    int horizontalSpace_ = 5;
    int verticalSpace_ = 5;
    QStringList lines_;
    int waitTime_ = 50;
    bool showWaitCursor_ = true;
    bool spaceSkip_ = true;
    bool autoStop_ = false;

    SerifCells cells_;
    int cursor_ = 0;
    int pageStart_ = 0;
    int pageEnd_ = 0;
    bool stopped_ = true;
    bool waiting_ = false;
    bool pumpWhileTyping_ = false;
    bool finishing_ = false;
    int direction_ = 0;
    unsigned generation_ = 0;  // counts Play calls; a nested Play supersedes
    QEventLoop* blinkLoop_ = nullptr;

    QImage canvas_;
    QImage savedMark_;
};

}  // namespace velmora::ui
