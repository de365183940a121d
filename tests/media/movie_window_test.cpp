#include "media/movie_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QVideoWidget>
#include <functional>

#include "media/clip_player.h"
#include "media/media_player.h"
#include "media_fixtures.h"
#include "ui/serif_box.h"

namespace velmora::media {
namespace {

// Stands in for the video back end: the test decides when the clip ends.
class FakeClip : public ClipPlayer {
  public:
    void start(const QString& path) override {
        ++starts;
        lastPath = path;
        if (failAtStart) emit failed("no decoder");
    }
    void stop() override { ++stops; }
    void setVolume(int, bool) override {}

    int starts = 0;
    int stops = 0;
    QString lastPath;
    bool failAtStart = false;
};

const QString kLaunchText = QStringLiteral("第一艦隊第1攻撃隊発艦します！");

class MovieWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        main_.setGeometry(100, 100, 800, 600);
        window_ = new MovieWindow(&main_, clip_);
        window_->captionBox()->setWaitTime(1);
    }

    ui::SerifBox* box() const { return window_->captionBox(); }

    // Runs `action` once the caption box waits for its page to be read.
    void AtPageWait(std::function<void()> action) {
        auto* poll = new QTimer(window_);
        QObject::connect(poll, &QTimer::timeout, window_, [this, poll, action] {
            if (!box()->isWaiting()) return;
            poll->deleteLater();
            action();
        });
        poll->start(5);
    }

    void Click() {
        QPointF at(20, 20);
        QMouseEvent press(QEvent::MouseButtonPress, at, box()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box(), &press);
    }

    // Plays with a safety net: a hang ends after five seconds and fails.
    bool Play(const QString& text, QString* failure = nullptr) {
        bool rescued = false;
        QTimer::singleShot(5000, window_, [&] {
            rescued = true;
            box()->Stop();
        });
        bool ok = window_->play("/scenario/Movie/Launch.ogv", text, failure);
        EXPECT_FALSE(rescued) << "play() did not return by itself";
        return ok;
    }

    QString TypedText() const {
        QString text;
        for (int i = 1; i <= box()->total(); ++i) text += box()->cells().cell(i);
        return text.trimmed();
    }

    QWidget main_;
    FakeClip* clip_ = new FakeClip;
    MovieWindow* window_ = nullptr;
};

TEST_F(MovieWindowTest, HasItsCaptionPanelsAndStaysOnTop) {
    EXPECT_EQ(window_->windowTitle(), "映像");
    EXPECT_TRUE(window_->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(window_->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(window_->videoPanel()->geometry(), QRect(0, 0, 321, 240));
    EXPECT_EQ(box()->geometry(), QRect(0, 240, 321, 81));
    EXPECT_EQ(box()->grid().columns, 20);
    EXPECT_EQ(box()->grid().rows, 4);
}

TEST_F(MovieWindowTest, ClickBeforeTheEndStopsTheClipAndClosesTheWindow) {
    QString typed;
    bool shown = false;
    AtPageWait([&] {
        typed = TypedText();
        shown = window_->isVisible();
        Click();
    });
    EXPECT_TRUE(Play(kLaunchText));
    EXPECT_EQ(clip_->starts, 1);
    EXPECT_EQ(clip_->lastPath, "/scenario/Movie/Launch.ogv");
    EXPECT_TRUE(shown);
    EXPECT_EQ(typed, kLaunchText) << "the caption is typed into the box";
    EXPECT_GE(clip_->stops, 1);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_TRUE(box()->isStopped());
}

TEST_F(MovieWindowTest, ClickWhileTheCaptionIsTypedEndsAtOnce) {
    box()->setWaitTime(40);
    QTimer::singleShot(150, window_, [&] { Click(); });
    EXPECT_TRUE(Play(kLaunchText.repeated(3)));
    EXPECT_LT(box()->cursor(), box()->total()) << "typing was cut short";
    EXPECT_GE(clip_->stops, 1);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(MovieWindowTest, ClipCompletionEndsTheCaptionWait) {
    AtPageWait([&] { emit clip_->finished(); });
    EXPECT_TRUE(Play(kLaunchText));
    EXPECT_FALSE(window_->isVisible());
    EXPECT_TRUE(box()->isStopped());
}

TEST_F(MovieWindowTest, ClipEndingOnTheFirstPageOfALongCaptionStillReturns) {
    // More than the box's 80 cells: the clip ends while page 1 waits.
    QString longText = kLaunchText.repeated(6);
    AtPageWait([&] { emit clip_->finished(); });
    EXPECT_TRUE(Play(longText));
    EXPECT_FALSE(window_->isVisible());
    EXPECT_TRUE(box()->isStopped());
}

TEST_F(MovieWindowTest, ClipFailingWhilePlayingClosesTheWindowAndSaysWhy) {
    AtPageWait([&] { emit clip_->failed("bad stream"); });
    QString failure;
    EXPECT_FALSE(Play(kLaunchText, &failure));
    EXPECT_EQ(failure, "bad stream");
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(MovieWindowTest, ClipFailingAtOnceTypesNothing) {
    clip_->failAtStart = true;
    QString failure;
    EXPECT_FALSE(Play(kLaunchText, &failure));
    EXPECT_EQ(failure, "no decoder");
    EXPECT_EQ(box()->total(), 0);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(MovieWindowTest, WindowIsCentredOverTheMainWindow) {
    AtPageWait([&] {
        QRect own = window_->frameGeometry();
        QRect main = main_.frameGeometry();
        EXPECT_NEAR(own.center().x(), main.center().x(), 1);
        EXPECT_NEAR(own.center().y(), main.center().y(), 1);
        Click();
    });
    EXPECT_TRUE(Play(kLaunchText));
}

// The real Qt Multimedia player with a file that is no clip: the failure
// arrives from the back end, is reported once, and the game goes on.
TEST(MovieThroughQtMultimedia, UnplayableClipIsReportedOnce) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("Movie");
    testing::WriteBytes(std::filesystem::path(dir.path().toStdString()) / "Movie/Launch.ogv",
                        std::string(4096, 'x'));
    MediaPlayer player;
    player.setScenarioFolder(dir.path());
    std::vector<QString> reports;
    player.setErrorReporter([&](const QString&, const QString& text) { reports.push_back(text); });
    player.movieWindow()->captionBox()->setWaitTime(1);

    bool rescued = false;
    QTimer::singleShot(10000, &player, [&] {
        rescued = true;
        player.movieWindow()->captionBox()->Stop();
    });
    player.playMovie("Launch.ogv", kLaunchText);
    player.playMovie("Launch.ogv", kLaunchText);
    EXPECT_FALSE(rescued);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].startsWith("\\Movie\\Launch.ogvがありません。"))
        << reports[0].toStdString();
    EXPECT_FALSE(player.movieWindow()->isVisible());
}

// A real Ogg Theora clip: its end closes the window and play returns.
TEST(MovieThroughQtMultimedia, ClipCompletionClosesTheWindow) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("MOVIE");
    ASSERT_TRUE(
        QFile::copy(VELMORA_TEST_DATA "/media/launch.ogv", dir.filePath("MOVIE/Launch.OGV")));
    MediaPlayer player;
    player.setScenarioFolder(dir.path());
    std::vector<QString> reports;
    player.setErrorReporter([&](const QString&, const QString& text) { reports.push_back(text); });
    player.movieWindow()->captionBox()->setWaitTime(1);

    bool rescued = false;
    QTimer::singleShot(10000, &player, [&] {
        rescued = true;
        player.movieWindow()->captionBox()->Stop();
    });
    QElapsedTimer clock;
    clock.start();
    player.playMovie("launch.ogv", kLaunchText);
    EXPECT_FALSE(rescued);
    EXPECT_GT(clock.elapsed(), 500) << "waited for the clip";
    EXPECT_TRUE(reports.empty()) << reports.front().toStdString();
    EXPECT_FALSE(player.movieWindow()->isVisible());
}

}  // namespace
}  // namespace velmora::media
