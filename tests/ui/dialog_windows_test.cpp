#include "ui/battle_message_window.h"
#include "ui/compressed_image.h"
#include "ui/conversation_window.h"
#include "ui/flat_button.h"
#include "ui/fonts.h"
#include "ui/map_text.h"
#include "ui/message_window.h"
#include "ui/number_window.h"
#include "ui/serif_box.h"
#include "ui/window_placement.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include <functional>

namespace velmora::ui {
namespace {

// Runs `step` once the next modal loop (or nested wait) is running.
void whenShown(std::function<void()> step) {
    QTimer::singleShot(0, std::move(step));
}

void clickAt(QWidget* widget, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void typeInto(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        int key = Qt::Key_unknown;
        if (c.isDigit()) key = Qt::Key_0 + c.digitValue();
        if (c.isLetter()) key = Qt::Key_A + (c.toUpper().unicode() - 'A');
        if (c == QLatin1Char('-')) key = Qt::Key_Minus;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// ---- placement and fonts ---------------------------------------------------

struct CentreCase {
    QRect main;
    QSize own;
    QPoint expected;
};

void PrintTo(const CentreCase& c, std::ostream* os) {
    *os << c.own.width() << "x" << c.own.height() << " over " << c.main.width() << "x"
        << c.main.height();
}

class Centring : public ::testing::TestWithParam<CentreCase> {};

TEST_P(Centring, HalvesTruncateTowardZero) {
    EXPECT_EQ(centredPosition(GetParam().main, GetParam().own), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Centring,
                         ::testing::Values(CentreCase{{100, 50, 800, 600}, {300, 115}, {350, 292}},
                                           CentreCase{{0, 0, 101, 101}, {50, 50}, {25, 25}},
                                           // Larger than the main window: -5.5 becomes -5.
                                           CentreCase{{0, 0, 100, 100}, {111, 111}, {-5, -5}}));

class JapaneseFaces : public ::testing::TestWithParam<const char*> {};

TEST_P(JapaneseFaces, ResolveToAnInstalledIpaFont) {
    const QFontInfo info(uiFont(GetParam(), 12));
    EXPECT_TRUE(info.family().startsWith(QStringLiteral("IPA"))) << info.family().toStdString();
    EXPECT_TRUE(QFontMetrics(uiFont(GetParam(), 12)).inFont(QChar(0x8266)));  // 艦
}

INSTANTIATE_TEST_SUITE_P(Faces, JapaneseFaces, ::testing::Values(kMincho, kPMincho, kPGothic));

TEST(MapText, TopLeftCornerAtThePointWithNoBackground) {
    QImage canvas(120, 60, QImage::Format_RGB32);
    canvas.fill(Qt::blue);
    DrawMapText(canvas, 30, 20, QStringLiteral("艦隊"), Qt::red, 12);
    int left = canvas.width(), top = canvas.height();
    bool anyRed = false;
    bool backgroundKept = true;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const QColor c = canvas.pixelColor(x, y);
            if (c == QColor(Qt::blue)) continue;
            left = std::min(left, x);
            top = std::min(top, y);
            if (c.red() > 200 && c.blue() < 60) anyRed = true;
            if (c.green() > 60) backgroundKept = false;  // only red ink blends over blue
        }
    }
    EXPECT_TRUE(anyRed);
    EXPECT_TRUE(backgroundKept);
    EXPECT_GE(left, 30);
    EXPECT_LE(left, 33);
    EXPECT_GE(top, 20);
    EXPECT_LE(top, 26);
}

// ---- message window ---------------------------------------------------------

TEST(MessageWindow, NoticeShowsOneButtonAtItsPlace) {
    MessageWindow window;
    bool rightVisible = true;
    QPoint leftAt;
    QString caption;
    whenShown([&] {
        rightVisible = window.rightButton()->isVisible();
        leftAt = window.leftButton()->pos();
        caption = window.windowTitle();
        window.leftButton()->click();
    });
    window.showOk(QStringLiteral("エラー"), QStringLiteral("ファイルがありません"));
    EXPECT_FALSE(rightVisible);
    EXPECT_FALSE(window.rightButton()->isEnabled());
    EXPECT_EQ(leftAt, QPoint(80, 48));
    EXPECT_EQ(caption, QStringLiteral("エラー"));
    EXPECT_EQ(window.textLabel()->text(), QStringLiteral("ファイルがありません"));
}

TEST(MessageWindow, QuestionAfterANoticeShowsBothButtonsThenResetsCaptions) {
    MessageWindow window;
    whenShown([&] { window.leftButton()->click(); });
    window.showOk(QStringLiteral("報告"), QStringLiteral("了解"));

    QString left, right;
    bool rightVisible = false;
    QPoint leftAt, rightAt;
    whenShown([&] {
        left = window.leftButton()->text();
        right = window.rightButton()->text();
        rightVisible = window.rightButton()->isVisible() && window.rightButton()->isEnabled();
        leftAt = window.leftButton()->pos();
        rightAt = window.rightButton()->pos();
        window.rightButton()->click();
    });
    EXPECT_FALSE(window.ask(QStringLiteral("質問"), QStringLiteral("撤退しますか？"),
                            QStringLiteral("はい"), QStringLiteral("いいえ")));
    EXPECT_EQ(left, QStringLiteral("はい"));
    EXPECT_EQ(right, QStringLiteral("いいえ"));
    EXPECT_TRUE(rightVisible);
    EXPECT_EQ(leftAt, QPoint(16, 48));
    EXPECT_EQ(rightAt, QPoint(208, 48));
    EXPECT_EQ(window.leftButton()->text(), QStringLiteral("OK"));
    EXPECT_EQ(window.rightButton()->text(), QStringLiteral("Cancel"));

    whenShown([&] { window.leftButton()->click(); });
    EXPECT_TRUE(window.ask(QStringLiteral("質問"), QStringLiteral("続けますか？"),
                           QStringLiteral("OK"), QStringLiteral("Cancel")));
}

TEST(MessageWindow, ClosingAQuestionFromTheFrameAnswersNo) {
    MessageWindow window;
    whenShown([&] { window.leftButton()->click(); });
    EXPECT_TRUE(window.ask(QStringLiteral("質問"), QStringLiteral("一"), QStringLiteral("はい"),
                           QStringLiteral("いいえ")));
    whenShown([&] { window.close(); });
    EXPECT_FALSE(window.ask(QStringLiteral("質問"), QStringLiteral("二"), QStringLiteral("はい"),
                            QStringLiteral("いいえ")));
}

TEST(MessageWindow, ButtonsTakeTheBackgroundColourAndTheBoxIsCentred) {
    QWidget main;
    main.setGeometry(100, 80, 790, 545);
    MessageWindow window(&main);
    const QImage picture = loadBackground(QStringLiteral(":/backgrounds/message.vci"));
    ASSERT_FALSE(picture.isNull());
    QPoint at;
    whenShown([&] {
        at = window.frameGeometry().topLeft();
        window.leftButton()->click();
    });
    window.showOk(QStringLiteral("報告"), QStringLiteral("了解"));
    const QColor expected = picture.pixelColor(picture.width() - 10, 0);
    EXPECT_EQ(window.leftButton()->faceColour(), expected);
    EXPECT_EQ(window.rightButton()->faceColour(), expected);
    EXPECT_EQ(at, centredPosition(main.frameGeometry(), window.frameGeometry().size()));
}

// ---- number window ----------------------------------------------------------

struct NumberCase {
    const char* name;
    const char* start;
    int maximum;
    const char* typed;
    bool pressOk;
    bool result;
    const char* value;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }

class AskNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(AskNumber, ClampsTypedNumbersAndKeepsTheValueOnCancel) {
    const NumberCase& c = GetParam();
    NumberWindow window;
    QString shown;
    whenShown([&] {
        typeInto(window.edit(), QString::fromUtf8(c.typed));
        shown = window.edit()->text();
        (c.pressOk ? window.okButton() : window.cancelButton())->click();
    });
    QString value = QString::fromUtf8(c.start);
    EXPECT_EQ(window.ask(QStringLiteral("発進"), QStringLiteral("機数を入力"), value, c.maximum),
              c.result);
    EXPECT_EQ(value, QString::fromUtf8(c.value));
    if (c.result && QString::fromUtf8(c.typed).toInt() > c.maximum) {
        EXPECT_EQ(shown, QString::fromUtf8(c.value));  // the box shows the clamped number
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AskNumber,
    ::testing::Values(NumberCase{"within_range", "3", 10, "7", true, true, "7"},
                      NumberCase{"above_maximum", "3", 10, "25", true, true, "10"},
                      // Already at the maximum the scroll bar reports no change.
                      NumberCase{"above_maximum_from_maximum", "10", 10, "25", true, true, "10"},
                      NumberCase{"letters_ignored", "3", 10, "ab", true, true, "3"},
                      NumberCase{"negative_ignored", "3", 10, "-2", true, true, "3"},
                      NumberCase{"zero", "3", 10, "0", true, true, "0"},
                      NumberCase{"cancel_keeps_value", "3", 10, "7", false, false, "3"}),
    [](const ::testing::TestParamInfo<NumberCase>& info) { return std::string(info.param.name); });

TEST(AskNumberWindow, ScrollBarStartsAtTheValueAndWritesItsPosition) {
    NumberWindow window;
    int startPosition = -1;
    int maximum = -1;
    QString edited;
    whenShown([&] {
        startPosition = window.scrollBar()->value();
        maximum = window.scrollBar()->maximum();
        window.scrollBar()->setValue(6);
        edited = window.edit()->text();
        window.okButton()->click();
    });
    QString value = QStringLiteral("4");
    EXPECT_TRUE(window.ask(QStringLiteral("発進"), QStringLiteral("機数"), value, 12));
    EXPECT_EQ(startPosition, 4);
    EXPECT_EQ(maximum, 12);
    EXPECT_EQ(edited, QStringLiteral("6"));
    EXPECT_EQ(value, QStringLiteral("6"));
}

// ---- battle message window --------------------------------------------------

struct RevealCase {
    const char* message;
    int count;
    const char* shown;
};

void PrintTo(const RevealCase& c, std::ostream* os) { *os << c.message << " / " << c.count; }

class BattleReveal : public ::testing::TestWithParam<RevealCase> {};

TEST_P(BattleReveal, RevealsWholeCharacters) {
    EXPECT_EQ(BattleMessageWindow::revealedPart(QString::fromUtf8(GetParam().message), GetParam().count),
              QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Cases, BattleReveal,
                         ::testing::Values(RevealCase{"敵艦撃沈", 0, ""}, RevealCase{"敵艦撃沈", 2, "敵艦"},
                                           RevealCase{"敵艦撃沈", 9, "敵艦撃沈"},
                                           RevealCase{"𠮷野丸 hit", 1, "𠮷"},
                                           RevealCase{"𠮷野丸 hit", 2, "𠮷野"},
                                           RevealCase{"A𠮷", 2, "A𠮷"}));

TEST(BattleMessageWindow, RevealsOneMoreCharacterPerTickUntilTheClick) {
    BattleMessageWindow window;
    std::vector<QString> seen;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (seen.empty() || seen.back() != window.shownText()) seen.push_back(window.shownText());
        if (window.shownText().size() >= 6) clickAt(&window, {20, 20});
    });
    watch.start();
    window.show(QStringLiteral("𠮷野丸に命中"));
    watch.stop();

    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.isWaiting());
    EXPECT_EQ(window.message(), QStringLiteral("𠮷野丸に命中 Clic Here"));
    ASSERT_GE(seen.size(), 3u);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_TRUE(window.message().startsWith(seen[i]));
        EXPECT_FALSE(!seen[i].isEmpty() && seen[i].back().isHighSurrogate()) << i;
        if (i > 0) {
            const qsizetype grew = seen[i].toUcs4().size() - seen[i - 1].toUcs4().size();
            EXPECT_GE(grew, 1);
            EXPECT_LE(grew, 2);  // a busy machine may let two ticks pass between looks
        }
    }
    // The click came before the whole report was out.
    EXPECT_LT(window.shownText().size(), window.message().size());
}

TEST(BattleMessageWindow, ClosingTheWindowEndsTheWait) {
    BattleMessageWindow window;
    QTimer::singleShot(60, &window, [&] { window.close(); });
    window.show(QStringLiteral("敵機撃墜"));
    EXPECT_FALSE(window.isWaiting());
    EXPECT_FALSE(window.isVisible());
}

TEST(BattleMessageWindow, ReportFromInsideAnotherReportsWaitEndsWithOneClick) {
    BattleMessageWindow window;
    bool innerReturned = false;
    QTimer::singleShot(30, &window, [&] {
        QTimer::singleShot(60, &window, [&] { clickAt(&window, {20, 20}); });
        window.show(QStringLiteral("第二報"));
        innerReturned = true;
    });
    window.show(QStringLiteral("第一報"));
    EXPECT_TRUE(innerReturned);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.message(), QStringLiteral("第二報 Clic Here"));
}

TEST(BattleMessageWindow, FastForwardPassesTheRestOfTheTurnEndWithoutClicks) {
    BattleMessageWindow window;
    QTimer::singleShot(30, &window, [&] { window.fastForwardButton()->click(); });
    window.show(QStringLiteral("第一報"));
    EXPECT_TRUE(window.isFastForwarding());
    // No click arrives for these: they must not wait.
    window.show(QStringLiteral("第二報"));
    window.show(QStringLiteral("第三報"));
    EXPECT_EQ(window.history(),
              QStringList({QStringLiteral("第一報"), QStringLiteral("第二報"), QStringLiteral("第三報")}));

    window.endFastForward();
    EXPECT_FALSE(window.isFastForwarding());
    EXPECT_FALSE(window.isVisible());
    bool waited = false;
    QTimer::singleShot(30, &window, [&] {
        waited = window.isWaiting();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
    });
    window.show(QStringLiteral("次のターン"));
    EXPECT_TRUE(waited);
}

TEST(BattleMessageWindow, EscapeFastForwardsToo) {
    BattleMessageWindow window;
    QTimer::singleShot(30, &window, [&] {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&window, &escape);
    });
    window.show(QStringLiteral("敵機来襲"));
    EXPECT_TRUE(window.isFastForwarding());
}

// ---- conversation window ----------------------------------------------------

TEST(ConversationWindow, BoxIsFiftyOneByNineCells) {
    ConversationWindow window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("会話"));
    EXPECT_EQ(window.serifBox()->size(), QSize(788, 148));
    EXPECT_EQ(window.serifBox()->grid().cellsPerPage(), 459);
    EXPECT_FALSE(window.serifBox()->autoStop());
}

TEST(ConversationWindow, SayTextReturnsAfterTheClickThrough) {
    ConversationWindow window;
    window.open();
    SerifBox* box = window.serifBox();
    box->setWaitTime(0);
    int clicks = 0;
    QObject::connect(box, &SerifBox::idle, [&] {
        ++clicks;
        clickAt(box, {30, 30});
    });
    window.sayText(QStringLiteral("艦長、敵艦隊を発見しました。"));
    EXPECT_TRUE(box->isStopped());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(box->cells().cell(1), QStringLiteral("艦"));

    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(box->total(), 0);
}

TEST(ConversationWindow, ClosingDuringALineEndsIt) {
    ConversationWindow window;
    window.open();
    window.serifBox()->setWaitTime(0);
    QObject::connect(window.serifBox(), &SerifBox::idle, &window, [&] { window.close(); });
    window.sayText(QStringLiteral("通信終わり"));
    EXPECT_TRUE(window.serifBox()->isStopped());
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace velmora::ui
