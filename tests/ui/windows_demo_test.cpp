// Shows every message window in turn over the title picture, for looking at
// them on a real display:
//
//   VELMORA_DEMO_SHOTS=/tmp/shots xvfb-run -a -s "-screen 0 1280x800x24"
//       build/tests/velmora_ui_tests --gtest_also_run_disabled_tests
//       --gtest_filter='WindowsDemo.DISABLED_*'
//
// (one command line)
//
// With VELMORA_DEMO_SHOTS set, each window is photographed with ImageMagick's
// import while it is up.
#include "ui/battle_message_window.h"
#include "ui/compressed_image.h"
#include "ui/conversation_window.h"
#include "ui/flat_button.h"
#include "ui/message_window.h"
#include "ui/number_window.h"
#include "ui/serif_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QTimer>

#include <functional>

namespace velmora::ui {
namespace {

void shoot(const char* name) {
    const QString folder = qEnvironmentVariable("VELMORA_DEMO_SHOTS");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    QApplication::processEvents();
    QProcess::execute(QStringLiteral("import"),
                      {QStringLiteral("-window"), QStringLiteral("root"),
                       QDir(folder).filePath(QString::fromUtf8(name) + QStringLiteral(".png"))});
}

// After `ms`, photographs the screen as `name` and then runs `answer`.
void later(int ms, const char* name, std::function<void()> answer) {
    QTimer::singleShot(ms, [name, answer = std::move(answer)] {
        shoot(name);
        answer();
    });
}

void clickAt(QWidget* widget, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

TEST(WindowsDemo, DISABLED_ShowsEachWindow) {
    CompressedImageWidget main;
    main.setWindowTitle(QStringLiteral("Velmora"));
    ASSERT_TRUE(main.loadResource(QStringLiteral(":/backgrounds/title.vci")));
    main.move(20, 20);
    main.show();

    MessageWindow message(&main);
    later(800, "message_ok", [&] { message.leftButton()->click(); });
    message.showOk(QStringLiteral("エラー"), QStringLiteral("シナリオファイルが見つかりません。"));

    later(800, "message_ask", [&] { message.rightButton()->click(); });
    message.ask(QStringLiteral("確認"), QStringLiteral("第1艦隊を撤退させますか？"),
                QStringLiteral("はい"), QStringLiteral("いいえ"));

    NumberWindow number(&main);
    later(800, "number", [&] { number.okButton()->click(); });
    QString planes = QStringLiteral("4");
    number.ask(QStringLiteral("発艦"), QStringLiteral("発艦させる機数 (0～12)"), planes, 12);

    BattleMessageWindow battle;
    later(1800, "battle_message", [&] { clickAt(&battle, {20, 20}); });
    battle.show(QStringLiteral("イージス艦「こんごう」に対艦ミサイル2発命中！ 大破"));

    ConversationWindow conversation;
    conversation.open();
    conversation.serifBox()->setWaitTime(15);
    // The first page wait is photographed halfway through a blink, while the
    // wait mark shows; the second blink ends it.
    int blinks = 0;
    QObject::connect(conversation.serifBox(), &SerifBox::idle, [&] {
        if (++blinks == 1) {
            QTimer::singleShot(SerifBlinkMs / 3, [] { shoot("conversation"); });
        } else {
            conversation.serifBox()->NextPage();
        }
    });
    conversation.sayText(QStringLiteral(
        "司令官、哨戒機より入電です。北東２００海里に空母を含む敵艦隊を発見。"
        "敵はこちらに向けて２０ノットで南下中とのこと。ご命令を。"));
    conversation.close();

    later(800, "confirm", [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                box->button(QMessageBox::Ok)->click();
            }
        }
    });
    message.confirm(QStringLiteral("確認"), QStringLiteral("ゲームを終了しますか？"));
}

}  // namespace
}  // namespace velmora::ui
