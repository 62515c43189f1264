// Random keys and clicks into whatever the main window and the dialogs it opens show: nothing
// may crash or trip the sanitizers, and at the end the project saved and read back equals the
// one in memory. SKENBRUS_SOAK_SEED repeats a run, SKENBRUS_SOAK_EVENTS lengthens it.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "commands_fixture.h"

using SoakTest = CommandsTest;

TEST_F(SoakTest, RandomKeysAndClicksLeaveAProjectThatSavesAndReadsBackTheSame)
{
    const auto env = [](const char* name, unsigned fallback) {
        const char* v = std::getenv(name);
        return v && *v ? static_cast<unsigned>(std::strtoul(v, nullptr, 10)) : fallback;
    };
    const unsigned seed = env("SKENBRUS_SOAK_SEED", std::random_device{}());
    int left = static_cast<int>(env("SKENBRUS_SOAK_EVENTS", 20000));
    std::fprintf(stderr, "Soak seed %u (repeat with SKENBRUS_SOAK_SEED=%u)\n", seed, seed);
    SCOPED_TRACE("SKENBRUS_SOAK_SEED=" + std::to_string(seed));
    std::mt19937 rng(seed);
    const auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };

    // A complete project to start from, so that calculations and reports come up too.
    const QString start = path("start.sdb");
    ASSERT_TRUE(QFile::copy(QStringLiteral(SKENBRUS_SOURCE_DIR "/examples/stationsvagen.sdb"), start));
    openFile(start);
    ASSERT_TRUE(firstMissingInput(r()).complete());
    // The program's own dialogs run their modal loops; print, preview and page set-up are the
    // system's dialogs: they are not opened here (and there is no printer).
    plat->otherDialogs = [](QDialog& d) {
        static const QStringList system{"Form_Granska", "Form_Skrivare", "Form_SkrivarInstallning"};
        return system.contains(d.objectName()) ? int(QDialog::Rejected) : d.exec();
    };
    // Message boxes, the input box and the file dialogs answer from queues, kept stocked with a
    // mix of answers; what was asked is forgotten, or the run would only grow.
    const auto answerLater = [&] {
        static const MsgAnswer answers[] = {MsgAnswer::Ok,     MsgAnswer::Yes,   MsgAnswer::No,
                                            MsgAnswer::Cancel, MsgAnswer::Abort, MsgAnswer::Retry};
        static const char* files[] = {"soak.sdb", "andra.sdb", "rapport.pdf", "saknas/x.sdb", ""};  // "": cancelled
        if (plat->answers.size() < 2) plat->answers.push_back(answers[below(6)]);
        if (plat->fileAnswers.size() < 2) {
            const QString name = QString::fromLatin1(files[below(5)]);
            plat->fileAnswers.push_back(name.isEmpty() ? name : path(name));
        }
        if (plat->inputAnswers.size() < 2) {
            const int k = below(4);  // cancelled, not a number, or a percentage
            plat->inputAnswers.push_back(k == 0   ? std::nullopt
                                         : k == 1 ? std::optional(QStringLiteral("x"))
                                                  : std::optional(QString::number(below(150) - 20)));
        }
        plat->messages.clear();
        plat->inputPrompts.clear();
        plat->helpContexts.clear();
        plat->dialogs.clear();
    };
    const auto key = [&](QWidget* w) {
        static const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab,       Qt::Key_Left,  Qt::Key_Right,
                                       Qt::Key_Up,     Qt::Key_Down,   Qt::Key_PageUp,    Qt::Key_PageDown, Qt::Key_Home,
                                       Qt::Key_End,    Qt::Key_F1,     Qt::Key_F2,        Qt::Key_F4,    Qt::Key_F5,
                                       Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Space,  Qt::Key_Minus, Qt::Key_Period};
        static const Qt::KeyboardModifiers mods[] = {Qt::AltModifier, Qt::ControlModifier, {}, {}};
        const int what = below(10);
        if (what < 4) return QTest::keyClick(w, static_cast<Qt::Key>(Qt::Key_0 + below(10)));  // numbers, mostly
        if (what < 7) return QTest::keyClick(w, keys[below(static_cast<int>(std::size(keys)))]);
        const auto letter = static_cast<Qt::Key>(Qt::Key_A + below(26));
        QTest::keyClick(w, letter, mods[below(4)]);
    };

    // The events come from a timer, one at a time, so that they also reach the modal loops of
    // the dialogs they open (a timer does not fire again while its handler runs, and the
    // handler may be inside such a loop); at the end every pop-up and dialog is closed.
    QEventLoop loop;
    std::function<void()> tick = [&] {
        // The window that takes input now: an open pop-up, else a modal dialog, else the main
        // window (shown again when "Avsluta" closed it).
        QWidget* top = QApplication::activePopupWidget();
        if (!top) top = QApplication::activeModalWidget();
        if (left-- <= 0 && !top) return loop.quit();
        QTimer::singleShot(0, &loop, tick);
        if (left < 0) {
            if (auto* d = qobject_cast<QDialog*>(top))
                d->reject();
            else
                top->close();
            return;
        }
        answerLater();
        if (!top) top = form.get();
        if (top == form.get()) form->show();
        QList<QWidget*> usable{top};
        for (QWidget* w : top->findChildren<QWidget*>())
            if (w->isVisible() && w->isEnabled() && !w->isWindow()) usable.push_back(w);
        QPointer<QWidget> w = usable.at(below(static_cast<int>(usable.size())));
        if (below(20) < 8) {
            const QPoint at(below(std::max(1, w->width())), below(std::max(1, w->height())));
            const int how = below(10);  // mostly left clicks, some double, some right
            QTest::mouseClick(w, how < 8 ? Qt::LeftButton : Qt::RightButton, {}, at);
            if (how >= 6 && how < 8 && w) QTest::mouseDClick(w, Qt::LeftButton, {}, at);
            return;
        }
        QWidget* focus = QApplication::focusWidget();
        key(focus && (focus == top || top->isAncestorOf(focus)) && below(4) != 0 ? focus : w.data());
    };
    qApp->setQuitOnLastWindowClosed(false);
    QTimer::singleShot(0, &loop, tick);
    loop.exec();
    qApp->setQuitOnLastWindowClosed(true);

    form->show();
    // An entry left half-typed in a table is taken back, as Escape does.
    for (GridView* v : {trains(), stretches()})
        if (QWidget* e = editor(v)) QTest::keyClick(e, Qt::Key_Escape);
    plat->fileAnswers.assign({path("end.sdb")});
    ASSERT_TRUE(form->fileCommands().saveAsCommand());
    const ProjectRecord back = onDisk(path("end.sdb"));
    const RecordBytes disk = encodeRecord(back), memory = encodeRecord(r());
    EXPECT_TRUE(back == r()) << "first differing byte at offset "
                             << std::mismatch(disk.begin(), disk.end(), memory.begin()).first - disk.begin();
}
