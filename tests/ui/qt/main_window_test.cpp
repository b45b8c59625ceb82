#include "ui/qt/main_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <thread>

#include "engine/dbf/dbf_reader.h"
#include "event_wait.h"
#include "qt_printers.h"
#include "tests/engine/worker_fixture.h"
#include "tests/ui/qt/captions_fit.h"
#include "tests/ui/qt/modal.h"
#include "tests/ui/qt/test_text.h"
#include "ui/qt/application_title.h"
#include "ui/qt/field_editor.h"
#include "ui/qt/font_scale.h"
#include "ui/qt/region_dialog.h"
#include "ui/qt/type_editor.h"

namespace fs = std::filesystem;

namespace {

const QString kStopped = QStringLiteral("Программа остановлена");
const QString kRunning = QStringLiteral("Программа запущена");

class MainWindowTest : public ::testing::Test {
  protected:
    // A window over the workspace's store; its workers count down quickly
    // and go on until stopped.
    std::unique_ptr<TfmMain> Window(bool autoRun) {
        config_.AutoRun = autoRun;
        config_.Save(ws_.Store());
        TDeltaSettings settings = ws_.Settings();
        settings.SinglePass = singlePass_;
        return std::make_unique<TfmMain>(std::move(settings));
    }

    static void ExpectStopped(const TfmMain& window) {
        EXPECT_EQ(window.Panel->text(), kStopped);
        ExpectEnabled(window, {true, false, true, false, true});
        EXPECT_EQ(window.Worker(), nullptr);
        EXPECT_NE(window.Form().CanExit, 0);
    }

    // While running, and while stopping.
    static void ExpectRunning(const TfmMain& window) {
        ExpectEnabled(window, {false, true, false, false, false});
        EXPECT_NE(window.Worker(), nullptr);
        EXPECT_EQ(window.Form().CanExit, 0);
    }

    struct Enabled {
        bool start, stop, region, help, exit;
    };
    static void ExpectEnabled(const TfmMain& window, Enabled enabled) {
        EXPECT_EQ(window.Start->isEnabled(), enabled.start);
        EXPECT_EQ(window.Stop->isEnabled(), enabled.stop);
        EXPECT_EQ(window.Region->isEnabled(), enabled.region);
        EXPECT_EQ(window.Help->isEnabled(), enabled.help);
        EXPECT_EQ(window.Exit->isEnabled(), enabled.exit);
    }

    static bool PaneStartsWith(const TfmMain& window, const char16_t* text) {
        return window.Panel->text().startsWith(QString::fromUtf16(text));
    }

    WorkerWorkspace ws_;
    TDL config_;
    bool singlePass_ = false;
};

// The layout's sizes are the original font's pixels, scaled to the font in use.
TEST_F(MainWindowTest, Layout) {
    const auto window = Window(false);
    window->show();
    QCoreApplication::processEvents();  // lays the window out
    const TFontScale scale(window->font());
    const int width = scale.X(385);
    const int height = scale.Y(90);
    EXPECT_EQ(window->windowTitle(), ApplicationTitle());
    EXPECT_EQ(window->minimumSize(), QSize(width, height));
    EXPECT_EQ(window->maximumSize(), QSize(width, height));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowSystemMenuHint);

    const QList<QAction*> actions = window->RzToolbar1->actions();
    const QStringList captions{"Старт", "Стоп", "Настройка", "Справка", "Выход"};
    ASSERT_EQ(actions.size(), captions.size());
    for (qsizetype i = 0; i < actions.size(); ++i) {
        EXPECT_EQ(actions[i]->text(), captions[i]);
        const auto* button =
            qobject_cast<QToolButton*>(window->RzToolbar1->widgetForAction(actions[i]));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextOnly);
        EXPECT_EQ(button->width(), scale.X(75));
        EXPECT_LE(button->sizeHint().width(), button->width()) << "caption cut: " << i;
        EXPECT_LE(button->sizeHint().height(), button->height()) << "caption cut: " << i;
        EXPECT_TRUE(button->isVisible()) << "button " << i << " left out of the toolbar";
    }
    EXPECT_EQ(window->RzToolbar1->geometry(), QRect(0, 0, width, scale.Y(29)));
    EXPECT_EQ(window->Info_Panel->geometry(), QRect(0, height - scale.Y(25), width, scale.Y(25)));
    EXPECT_FALSE(window->Info_Panel->isSizeGripEnabled());
    EXPECT_EQ(window->Panel->alignment(), Qt::AlignCenter);
    // Between the toolbar and the status bar, with a 3-pixel margin.
    EXPECT_EQ(window->Bar->geometry().size(),
              QSize(width - 2 * scale.X(3), height - scale.Y(29) - scale.Y(25) - 2 * scale.Y(3)));
    EXPECT_EQ(window->Bar->mapTo(window.get(), QPoint(0, 0)),
              QPoint(scale.X(3), scale.Y(29) + scale.Y(3)));
    EXPECT_EQ(window->Bar->percent(), 0);
    ExpectCaptionsFit(*window);
}

// A file name too long for the pane leaves out its middle: the step and the
// name's end stay in sight.
TEST_F(MainWindowTest, StatusPaneKeepsTheStepAndTheEndOfALongFileName) {
    const auto window = Window(false);
    window->show();
    QCoreApplication::processEvents();
    const QString name =
        u"обновление_московской_области_за_декабрь_две_тысячи_двадцать_"
        u"четвёртого_года_номер_12.txt"_s;
    window->SetStatus(u"Преобразование "_s + name);
    EXPECT_EQ(window->Panel->text(), u"Преобразование "_s + name);
    const QString shown = window->Panel->shownText();
    EXPECT_TRUE(shown.startsWith(u"Преобразование обновление_"_s)) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(u"_номер_12.txt"_s)) << shown.toStdString();
    EXPECT_TRUE(shown.contains(u'…')) << shown.toStdString();
    EXPECT_LE(window->Panel->fontMetrics().horizontalAdvance(shown),
              window->Panel->contentsRect().width());
    window->SetStatus(u"Программа остановлена"_s);
    EXPECT_EQ(window->Panel->shownText(), u"Программа остановлена"_s);
}

TEST_F(MainWindowTest, ComesUpStoppedWithoutAutoRun) {
    const auto window = Window(false);
    ExpectStopped(*window);
    window->show();
    ExpectStopped(*window);
}

TEST_F(MainWindowTest, AutoRunStartsOnTheFirstShowOnly) {
    const auto window = Window(true);
    ExpectStopped(*window);
    window->show();
    EXPECT_EQ(window->Panel->text(), kRunning);
    ExpectRunning(*window);
    const TDelta* worker = window->Worker();
    window->hide();
    window->show();
    EXPECT_EQ(window->Worker(), worker);
    window->Stop->trigger();
    ExpectStopped(*window);
}

TEST_F(MainWindowTest, StopDuringTheCountdownResetsTheBar) {
    const auto window = Window(false);
    window->show();
    window->Start->trigger();
    EXPECT_EQ(window->Panel->text(), kRunning);
    ExpectRunning(*window);
    // The worker's texts arrive converted from Windows-1251.
    ASSERT_TRUE(ProcessEventsUntil(
        [&] { return PaneStartsWith(*window, u"Ожидание ") && window->Bar->percent() > 0; }));
    EXPECT_TRUE(window->Panel->text().endsWith(QStringLiteral(" секунд")));
    window->Stop->trigger();
    ExpectStopped(*window);
    EXPECT_EQ(window->Bar->percent(), 0);
}

TEST_F(MainWindowTest, CloseIsRefusedWhileRunning) {
    const auto window = Window(false);
    window->show();
    window->Start->trigger();
    EXPECT_FALSE(window->close());
    window->Exit->trigger();  // disabled
    EXPECT_TRUE(window->isVisible());
    ExpectRunning(*window);

    window->Stop->trigger();
    window->Exit->trigger();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, StopPressedAgainDuringTheWaitDoesNothing) {
    const auto window = Window(false);
    window->show();
    window->Start->trigger();
    ASSERT_TRUE(ProcessEventsUntil([&] { return PaneStartsWith(*window, u"Ожидание "); }));
    // A second press is queued before the first is handled: were events
    // processed during the wait, it would stop the same worker again there.
    QMetaObject::invokeMethod(window->Stop, &QAction::trigger, Qt::QueuedConnection);
    window->Stop->trigger();
    bool queueServed = false;
    QMetaObject::invokeMethod(
        qApp, [&] { queueServed = true; }, Qt::QueuedConnection);
    ASSERT_TRUE(ProcessEventsUntil([&] { return queueServed; }));
    ExpectStopped(*window);
    EXPECT_EQ(window->Bar->percent(), 0);
    auto* button = qobject_cast<QToolButton*>(window->RzToolbar1->widgetForAction(window->Stop));
    button->click();
    ExpectStopped(*window);
}

TEST_F(MainWindowTest, WorkerThatEndedByItselfStillShowsRunningUntilStop) {
    singlePass_ = true;
    const auto window = Window(false);
    window->show();
    window->Start->trigger();
    ASSERT_TRUE(ProcessEventsUntil([&] { return window->Worker()->Finished(); }));
    ExpectRunning(*window);
    window->Stop->trigger();
    ExpectStopped(*window);
}

TEST_F(MainWindowTest, TypeAddedInTheUpdateListIsProcessedFromTheNextStart) {
    const auto window = Window(false);
    window->show();
    WhenModal<TfmRegion>([&](TfmRegion& dialog) {
        dialog.EditType = [&](TDD& type) {
            type.Name = Ansi("Новый");
            type.Codec = 0;
            type.From = ws_.InFolder();
            type.To = ws_.OutFolder();
            type.Mask = "*.txt";
            type.Add("NUMBER", 10, 1, 1);
            return true;
        };
        dialog.sbAdd->click();
        dialog.btClose->click();
    });
    window->Region->trigger();
    ExpectStopped(*window);

    ws_.Write("in/new.txt", "/01=7\r\n");
    window->Start->trigger();
    ASSERT_TRUE(ProcessEventsUntil([&] { return fs::exists(ws_.Out() / "new.dbf"); }));
    window->Stop->trigger();
    EXPECT_EQ(ReadDbf(ws_.Out() / "new.dbf").Value(0, 0), "7");
}

TEST_F(MainWindowTest, WorkerViewRefusesOtherThreads) {
    QLabel label(QStringLiteral("как было"));
    TLedBar bar;
    TPaneStatus pane(label);
    TBarProgress progress(bar);
    std::thread([&] {
        EXPECT_THROW(pane.SetCaption("x"), std::logic_error);
        EXPECT_THROW(progress.SetPercent(50), std::logic_error);
    }).join();
    EXPECT_EQ(label.text(), QStringLiteral("как было"));
    EXPECT_EQ(bar.percent(), 0);
}

// A numbered-code file of many lines in a configured source folder, with
// "Стоп" pressed when the pane shows a given step.
struct StopCase {
    const char* name;
    const char16_t* stepShown;
    bool converted;  // the table is in place and the source gone afterwards

    friend void PrintTo(const StopCase& stop, std::ostream* out) { *out << stop.name; }
};

class StopDuringFileWork : public MainWindowTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StopDuringFileWork, LeavesTheFileWholeEitherWay) {
    constexpr int kLines = 1000;
    TDD* type = ws_.AddType(config_, "t", 0, "");
    type->Add("NUMBER", 10, 1, 1);
    std::string text;
    for (int i = 0; i < kLines; ++i) {
        text += "/01=" + std::to_string(i) + "\r\n";
    }
    ws_.Write("in/update.txt", text);
    const auto window = Window(false);
    window->show();
    window->Start->trigger();
    ASSERT_TRUE(ProcessEventsUntil([&] { return PaneStartsWith(*window, GetParam().stepShown); }));
    const bool midFile = !PaneStartsWith(*window, u"Ожидание ");
    if (midFile) {  // the worker waits for each hand-over: the file is not done yet
        EXPECT_TRUE(window->Panel->text().endsWith(QStringLiteral("update.txt")));
        EXPECT_LT(window->Bar->percent(), 100);
        EXPECT_FALSE(fs::exists(ws_.Out() / "update.dbf"));
    }
    window->Stop->trigger();
    ExpectStopped(*window);
    EXPECT_EQ(window->Bar->percent(), 0);
    EXPECT_NE(fs::exists(ws_.In() / "update.txt"), GetParam().converted);
    if (GetParam().converted) {
        EXPECT_EQ(ReadDbf(ws_.Out() / "update.dbf").rows.size(), size_t(kLines));
        EXPECT_FALSE(fs::exists(ws_.Out() / "update.tmp"));
    } else {
        EXPECT_TRUE(fs::is_empty(ws_.Out()));
    }
    EXPECT_TRUE(ws_.failures.empty());
}

INSTANTIATE_TEST_SUITE_P(Steps, StopDuringFileWork,
                         ::testing::Values(StopCase{"WhileDecoding", u"Декодирование ", false},
                                           StopCase{"WhileFilling", u"Преобразование ", true},
                                           StopCase{"AfterTheFile", u"Ожидание ", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// The operator's whole round with the real dialogs: a type configured from
// "Настройка", "Старт", and a file of that type converted.
TEST_F(MainWindowTest, OperatorConfiguresATypeAndItsFileIsConverted) {
    const auto window = Window(false);
    window->show();
    WhenModal<TfmRegion>([&](TfmRegion& list) {
        WhenModal<TfmRegEdit>([&](TfmRegEdit& editor) {
            editor.edName->setText(QStringLiteral("Юг"));
            editor.cbCodec->setCurrentIndex(0);
            EXPECT_EQ(editor.edIdent->text(), QStringLiteral("АМТ"));
            editor.edFrom->setText(QString::fromStdString(ws_.In().string()));
            editor.edTo->setText(QString::fromStdString(ws_.Out().string()));
            editor.edMask->setText(QStringLiteral("*.txt"));
            WhenModal<TfmField>([](TfmField& field) {
                field.edName->setText(QStringLiteral("ИМЯ"));
                field.seSize->setValue(20);
                field.seCode->setValue(2);
                field.btOk->click();
            });
            editor.sbAdd->click();
            ASSERT_TRUE(editor.btOk->isEnabled());
            editor.btOk->click();
        });
        list.sbAdd->click();
        list.btClose->click();
    });
    window->Region->trigger();
    ExpectStopped(*window);

    // "&АМТ" and "/02=Ромашка" in DOS-866, as update files arrive.
    ws_.Write("in/south.txt", "&\x80\x8C\x92\r\n/02=\x90\xAE\xAC\xA0\xE8\xAA\xA0\r\n");
    window->Start->trigger();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !fs::exists(ws_.In() / "south.txt"); }));
    window->Stop->trigger();
    ExpectStopped(*window);
    const DbfContents table = ReadDbf(ws_.Out() / "south.dbf");
    ASSERT_EQ(table.fields.size(), 1u);
    EXPECT_EQ(table.fields[0].name, "\xC8\xCC\xDF");  // "ИМЯ"
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.Value(0, 0), "\xD0\xEE\xEC\xE0\xF8\xEA\xE0");  // "Ромашка"
}
