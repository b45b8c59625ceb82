// The captions as the window system shows them: what each window told the X
// server in its _NET_WM_NAME and WM_NAME properties. Runs on an X server
// (QT_QPA_PLATFORM=xcb); elsewhere there is no window system to ask.
#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstring>
#include <memory>

#include "tests/temp_directory.h"
#include "tests/ui/qt/test_text.h"
#include "ui/qt/application_title.h"
#include "ui/qt/directory_dialog.h"
#include "ui/qt/exception_box.h"
#include "ui/qt/field_editor.h"
#include "ui/qt/main_window.h"
#include "ui/qt/region_dialog.h"
#include "ui/qt/type_editor.h"

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const auto cookie = xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// Compound text as the toolkit writes Cyrillic into it: ASCII, with the
// upper half switched to ISO 8859-5 by the escape sequence ESC - L.
QString FromCompoundText(QByteArrayView bytes) {
    const QByteArrayView cyrillic("\x1b-L");
    QString text;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.sliced(i).startsWith(cyrillic)) {
            i += cyrillic.size() - 1;
            continue;
        }
        const auto byte = uchar(bytes[i]);
        if (byte < 0x80) {
            text += QChar(byte);
        } else if (byte == 0xA0 || byte == 0xAD) {
            text += QChar(byte);  // no-break space and soft hyphen, as in Latin-1
        } else if (byte == 0xF0) {
            text += QChar(0x2116);  // the numero sign
        } else if (byte == 0xFD) {
            text += QChar(0x00A7);  // the section sign
        } else {
            text += QChar(0x0400 + byte - 0xA0);
        }
    }
    return text;
}

// A text property of the window as the X server holds it.
QString TextProperty(const QWidget& window, const char* name) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11->connection();
    const auto cookie =
        xcb_get_property(connection, 0, xcb_window_t(window.winId()), Atom(connection, name),
                         XCB_GET_PROPERTY_TYPE_ANY, 0, 4096);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &free);
    if (!reply || reply->type == XCB_ATOM_NONE) {
        return u"(not set)"_s;
    }
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
    const int length = xcb_get_property_value_length(reply.get());
    if (reply->type == XCB_ATOM_STRING) {
        return QString::fromLatin1(bytes, length);
    }
    if (reply->type == Atom(connection, "COMPOUND_TEXT")) {
        return FromCompoundText(QByteArrayView(bytes, length));
    }
    return QString::fromUtf8(bytes, length);
}

class WindowCaption : public ::testing::Test {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != u"xcb") {
            GTEST_SKIP() << "needs an X server (QT_QPA_PLATFORM=xcb)";
        }
        // As the program sets it once it runs.
        SetApplicationTitle(u"Пребразователь обновлений в DBase"_s);
    }
    void TearDown() override { SetApplicationTitle(previousTitle_); }

    // The caption the window system was given for the shown window.
    static void ExpectShownCaption(QWidget& window, const QString& caption) {
        window.show();
        EXPECT_EQ(TextProperty(window, "_NET_WM_NAME"), caption);
        EXPECT_EQ(TextProperty(window, "WM_NAME"), caption);
        window.hide();
    }

    const QString previousTitle_ = ApplicationTitle();
    TempDirectory folder_;
};

TEST_F(WindowCaption, EveryWindowShowsItsOwnCaptionOnly) {
    TDeltaSettings settings = TDeltaSettings::Defaults();
    settings.StoreFile = folder_.path() / "registry.reg";
    TfmMain window(settings);
    ExpectShownCaption(window, u"Пребразователь обновлений в DBase"_s);
    TfmRegion list(&window, settings.StoreFile);
    ExpectShownCaption(list, u"Список региональных обновлений"_s);
    TDD type("", -1, "");
    TfmRegEdit editor(type, &list);
    ExpectShownCaption(editor, u"Региональное обновление"_s);
    TDF field("", 0, 0, 0);
    TfmField fieldEditor(field, &editor);
    ExpectShownCaption(fieldEditor, u"Поле"_s);
    TfmDirectory directories(QString::fromStdString(folder_.path().string()), &editor);
    ExpectShownCaption(directories, u"Выбор каталога"_s);
}

TEST_F(WindowCaption, ExceptionBoxShowsTheApplicationTitle) {
    QString caption;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            caption = TextProperty(*box, "_NET_WM_NAME");
            box->accept();
        }
    });
    ShowExceptionBox(nullptr, u"cannot write the store"_s);
    EXPECT_EQ(caption, u"Пребразователь обновлений в DBase"_s);
}

}  // namespace
