#include "ui/serif_box.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPointer>

#include <functional>
#include <vector>

namespace velmora::ui {
namespace {

// ---- grid ------------------------------------------------------------------

struct CellCase {
    int cell;
    QPoint position;
};

void PrintTo(const CellCase& c, std::ostream* os) { *os << "cell " << c.cell; }

class SerifGridCells : public ::testing::TestWithParam<CellCase> {};

// The conversation window's box: 788 x 148 with 15-pixel cells and 5-pixel
// margins is 51 columns by 9 rows.
TEST_P(SerifGridCells, CellSitsOnItsColumnAndRow) {
    const SerifGrid grid = SerifGrid::forBox({788, 148}, 15, 15, 5, 5);
    ASSERT_EQ(grid.columns, 51);
    ASSERT_EQ(grid.rows, 9);
    EXPECT_EQ(grid.cellPosition(GetParam().cell), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(Conversation, SerifGridCells,
                         ::testing::Values(CellCase{1, {5, 5}}, CellCase{2, {20, 5}},
                                           CellCase{51, {755, 5}}, CellCase{52, {5, 20}},
                                           CellCase{459, {755, 125}},
                                           // The second page reuses the first page's cells.
                                           CellCase{460, {5, 5}}, CellCase{511, {5, 20}}));

TEST(SerifGrid, WaitMarkIsTheSquareRightOfThePagesLastCell) {
    const SerifGrid grid = SerifGrid::forBox({788, 148}, 15, 15, 5, 5);
    EXPECT_EQ(grid.waitMarkRect(), QRect(770, 125, 15, 15));
    // Cells taller than wide: the square is bottom-aligned with the cell.
    const SerifGrid tall = SerifGrid::forBox({100, 100}, 10, 20, 0, 0);
    EXPECT_EQ(tall.waitMarkRect(), QRect(100, 90, 10, 10));
}

TEST(SerifGrid, BoxSmallerThanACellStillHasOne) {
    const SerifGrid grid = SerifGrid::forBox({4, 4}, 15, 15, 5, 5);
    EXPECT_EQ(grid.columns, 1);
    EXPECT_EQ(grid.rows, 1);
    EXPECT_EQ(grid.cellPosition(7), QPoint(5, 5));
}

// ---- layout ----------------------------------------------------------------

struct LayoutCase {
    const char* name;
    QStringList lines;
    int columns;
    int total;
    int cell;         // a cell to look at
    const char* text;  // what it holds
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class SerifLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(SerifLayout, CellsFollowTheLineBreakRules) {
    const LayoutCase& c = GetParam();
    SerifCells cells;
    EXPECT_EQ(cells.layOut(c.lines, c.columns), c.total);
    EXPECT_EQ(cells.cell(c.cell), QString::fromUtf8(c.text));
}

const QString kFiftyLetters = QString(50, QLatin1Char('x'));

INSTANTIATE_TEST_SUITE_P(
    Cases, SerifLayout,
    ::testing::Values(
        // A break in column 3 fills 3..51.
        LayoutCase{"break_mid_row", {"AB", "C"}, 51, 102, 52, "C"},
        // A break in column 1 is a full empty row.
        LayoutCase{"break_at_column_one", {"A", "", "B"}, 51, 153, 103, "B"},
        // A break in the last column fills it and one more empty row.
        LayoutCase{"break_at_last_column", {kFiftyLetters + "y", "z"}, 51, 153, 103, "z"},
        LayoutCase{"break_at_last_column_leaves_blank_row", {kFiftyLetters + "y", "z"}, 51, 153, 60,
                   " "},
        // A double-byte character is one cell, like a single-byte one.
        LayoutCase{"kanji_one_cell_each", {"敵艦隊A"}, 51, 51, 4, "A"},
        LayoutCase{"kanji_cell", {"敵艦隊A"}, 51, 51, 2, "艦"},
        LayoutCase{"surrogate_pair_one_cell", {"𠮷野"}, 51, 51, 2, "野"},
        // Stray line feeds and NULs inside a line are dropped.
        LayoutCase{"lf_dropped", {QString("a\nb") + QChar(0) + "c"}, 51, 51, 3, "c"},
        LayoutCase{"narrow_grid", {"abcd"}, 3, 6, 4, "d"}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(SerifLayout, TextPastTheCellLimitIsCutOff) {
    SerifCells cells;
    EXPECT_EQ(cells.layOut({QString(MaxSerifChars + 10, QLatin1Char('k'))}, 51), MaxSerifChars);
    EXPECT_EQ(cells.cell(MaxSerifChars), QStringLiteral("k"));
    EXPECT_TRUE(cells.cell(MaxSerifChars + 1).isEmpty());
    // A break right at the limit does not write past it.
    EXPECT_EQ(cells.layOut({QString(MaxSerifChars - 1, QLatin1Char('k'))}, 51), MaxSerifChars);
}

TEST(SerifLayout, BlankCellsAreTheSingleBlanks) {
    SerifCells cells;
    cells.layOut({"a b　c"}, 51);  // the ideographic space is a character, not a blank
    EXPECT_FALSE(cells.isBlank(1));
    EXPECT_TRUE(cells.isBlank(2));
    EXPECT_FALSE(cells.isBlank(4));
    EXPECT_TRUE(cells.isBlank(6));  // the break's fill
    EXPECT_FALSE(cells.isBlank(0));
    EXPECT_FALSE(cells.isBlank(52));
}

// ---- flow ------------------------------------------------------------------

// A box of 3 columns by 1 row, typing at full speed, with a record of the
// events it fires. The person's clicks come from the idle handler: each
// page wait is answered after its first blink with the next direction.
class SerifFlow : public ::testing::Test {
protected:
    SerifFlow() {
        box.resize(2 * 5 + 3 * 15, 2 * 5 + 15);
        box.setWaitTime(0);
        QObject::connect(&box, &SerifBox::flowStarted, [this] { ++started; });
        QObject::connect(&box, &SerifBox::flowText, [this] { ++typed; });
        QObject::connect(&box, &SerifBox::flowEnded, [this] { ++ended; });
        QObject::connect(&box, &SerifBox::pageChange, [this](int& direction) {
            pageStarts.push_back(box.pageStart());
            direction = directions.empty() ? 0 : directions.front();
            if (!directions.empty()) directions.erase(directions.begin());
        });
        QObject::connect(&box, &SerifBox::idle, [this] {
            ++blinks;
            if (onIdle) {
                onIdle();
            } else {
                box.NextPage();
            }
        });
    }

    SerifBox box;
    int started = 0;
    int typed = 0;
    int ended = 0;
    int blinks = 0;
    std::vector<int> directions;
    std::vector<int> pageStarts;
    std::function<void()> onIdle;
};

TEST_F(SerifFlow, EmptyLinesReturnAtOnceAndFireNothing) {
    box.Play(false);
    EXPECT_EQ(started, 0);
    EXPECT_EQ(ended, 0);
    EXPECT_TRUE(box.isStopped());
}

TEST_F(SerifFlow, OnePageTextWaitsOnceAfterTheLastCharacter) {
    box.setLines({"a"});  // a and the break's two blanks: exactly one page
    box.Play(false);
    EXPECT_EQ(started, 1);
    EXPECT_EQ(typed, 1);
    EXPECT_EQ(pageStarts, std::vector<int>{1});
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(box.isStopped());
    EXPECT_EQ(box.cursor(), 3);
    EXPECT_EQ(box.pageEnd(), 3);
}

TEST_F(SerifFlow, AutoStopEndsWithoutTheLastWaitButFullPagesStillWait) {
    box.setAutoStop(true);
    box.setLines({"abcd"});  // two pages
    box.Play(false);
    EXPECT_EQ(pageStarts, std::vector<int>{1});
    EXPECT_EQ(typed, 4);
    EXPECT_EQ(ended, 1);
}

TEST_F(SerifFlow, DirectionOneGoesBackAPageAndStaysOnTheFirst) {
    box.setLines({"abcdef"});  // pages 1-3, 4-6, and 7-9 of blanks
    directions = {1, 0, 1, 0, 0, 0};
    box.Play(false);
    EXPECT_EQ(pageStarts, (std::vector<int>{1, 1, 4, 1, 4, 7}));
    EXPECT_EQ(typed, 15);  // page 1 three times, page 2 twice
    EXPECT_EQ(ended, 1);
}

TEST_F(SerifFlow, OtherDirectionStaysOnThePageWithoutTypingAhead) {
    box.setLines({"abcdef"});
    directions = {7, 0, 0, 0};
    box.Play(false);
    EXPECT_EQ(pageStarts, (std::vector<int>{1, 1, 4, 7}));
    EXPECT_EQ(typed, 6);
    EXPECT_EQ(ended, 1);
}

TEST_F(SerifFlow, StopDuringAPageWaitEndsTheFlowWithoutFlowEnd) {
    box.setLines({"abcdef"});
    onIdle = [this] { box.Stop(); };
    box.Play(false);
    EXPECT_TRUE(box.isStopped());
    EXPECT_FALSE(box.isWaiting());
    EXPECT_EQ(typed, 3);
    EXPECT_TRUE(pageStarts.empty());
    EXPECT_EQ(ended, 0);
}

TEST_F(SerifFlow, NextPageOutsideAWaitIsIgnored) {
    box.NextPage();
    EXPECT_TRUE(pageStarts.empty());
    box.setLines({"a"});
    int blinksBeforeClick = 2;
    onIdle = [&] {
        if (--blinksBeforeClick <= 0) box.NextPage();
    };
    box.Play(false);
    EXPECT_EQ(blinks, 2);
    EXPECT_EQ(ended, 1);
}

TEST_F(SerifFlow, ClickWhileTypingEndsTheNextPageWaitAtOnce) {
    QObject::connect(&box, &SerifBox::clicked, &box, &SerifBox::NextPage);
    box.setWaitTime(5);
    box.setLines({"ab"});  // a, b and the break's blanks: two pages
    bool clicked = false;
    QObject::connect(&box, &SerifBox::flowText, [&] {
        if (clicked) return;
        clicked = true;
        // Typing serves no events: the click waits in the queue.
        QCoreApplication::postEvent(&box, new QMouseEvent(QEvent::MouseButtonPress, QPointF(5, 5),
                                                          QPointF(5, 5), Qt::LeftButton,
                                                          Qt::LeftButton, Qt::NoModifier));
    });
    int waitsBeforeClickArrived = 0;
    onIdle = [&] {
        // No click of ours: only the queued one may end the first wait.
        if (pageStarts.empty()) ++waitsBeforeClickArrived;
        if (waitsBeforeClickArrived > 3 || !pageStarts.empty()) box.NextPage();
    };
    box.Play(false);
    EXPECT_EQ(waitsBeforeClickArrived, 0);
    EXPECT_EQ(pageStarts.front(), 1);
}

TEST_F(SerifFlow, PlayFromInsideAWaitTakesOverTheBox) {
    box.setLines({"abcdef"});
    bool nested = false;
    onIdle = [&] {
        if (!nested) {
            nested = true;
            onIdle = nullptr;
            box.setLines({"x"});
            box.Play(false);
        }
    };
    box.Play(false);
    EXPECT_TRUE(box.isStopped());
    EXPECT_EQ(box.total(), 3);
    EXPECT_EQ(box.cells().cell(1), QStringLiteral("x"));
    EXPECT_EQ(ended, 1);  // only the nested text ended; the first was abandoned
}

TEST(SerifFlowLifetime, DeletingTheBoxDuringAWaitReturnsSafely) {
    auto* box = new SerifBox;
    box->resize(200, 40);
    box->setWaitTime(0);
    box->setLines({"abc"});
    QPointer<SerifBox> watch(box);
    QObject::connect(box, &SerifBox::idle, [box] { delete box; });
    box->Play(false);
    EXPECT_TRUE(watch.isNull());
}

// Time from the start of the flow to the end of the first blink: typing
// plus one SerifBlinkMs.
qint64 msToFirstBlink(bool spaceSkip) {
    SerifBox box;
    box.resize(788, 148);
    box.setWaitTime(10);
    box.setSpaceSkip(spaceSkip);
    box.setLines({"A" + QString(40, QLatin1Char(' '))});  // 1 letter, 50 blank cells
    QElapsedTimer clock;
    qint64 elapsed = -1;
    QObject::connect(&box, &SerifBox::flowStarted, [&] { clock.start(); });
    QObject::connect(&box, &SerifBox::idle, [&] {
        if (elapsed < 0) elapsed = clock.elapsed();
        box.Stop();
    });
    box.Play(false);
    return elapsed;
}

TEST(SerifFlowTiming, BlankCellsCostNoTimeWithSpaceSkip) {
    EXPECT_GE(msToFirstBlink(false), 51 * 10);
    EXPECT_LT(msToFirstBlink(true), 51 * 10);
}

// ---- drawing ---------------------------------------------------------------

// Leftmost and rightmost inked columns of the canvas within a row band.
std::pair<int, int> inkedColumns(const QImage& canvas, int top, int bottom) {
    int first = -1;
    int last = -1;
    for (int x = 0; x < canvas.width(); ++x) {
        for (int y = top; y < bottom; ++y) {
            if (qGray(canvas.pixel(x, y)) > 80) {
                if (first < 0) first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

TEST(SerifDrawing, SingleByteLettersTakeAWholeCell) {
    SerifBox box;
    box.resize(788, 148);
    box.setWaitTime(0);
    box.setAutoStop(true);
    box.setLines({" i"});  // a blank first cell, then a narrow letter in cell 2
    box.Play(false);
    const auto [first, last] = inkedColumns(box.canvas(), 5, 20);
    EXPECT_GE(first, 20);
    EXPECT_LT(last, 35);
}

TEST(SerifDrawing, KanjiIsDrawnInWhiteAndClearTextBlanksTheBox) {
    SerifBox box;
    box.resize(788, 148);
    box.setWaitTime(0);
    box.setAutoStop(true);
    box.setLines({"", "艦"});  // the kanji starts row 2
    box.Play(false);
    const auto [first, last] = inkedColumns(box.canvas(), 20, 35);
    EXPECT_GE(first, 5);
    EXPECT_LT(last, 20);
    EXPECT_EQ(inkedColumns(box.canvas(), 0, 20).first, -1);

    box.ClearText();
    EXPECT_EQ(inkedColumns(box.canvas(), 0, 148).first, -1);
    EXPECT_EQ(box.total(), 0);
    EXPECT_EQ(box.pageStart(), 0);
}

}  // namespace
}  // namespace velmora::ui
