// The message boxes as a user meets them: caption, icon, buttons, the default and Escape
// answers. Each box is driven from inside its own modal loop by a timer set before it opens.
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/MessageLoop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>

#include <functional>
#include <string>
#include <vector>

namespace {

struct Seen {
    std::string caption;
    std::string text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    std::vector<std::string> buttons;
    std::string defaultButton;
    std::string escapeButton;
};

std::string TextOf(const QAbstractButton* button) {
    return button != nullptr ? button->text().toStdString() : std::string("(none)");
}

// Records the box that is open when the timer fires, then does what a user would.
void WhenBoxOpens(Seen& seen, std::function<void(QMessageBox&)> act) {
    QTimer::singleShot(0, [&seen, act = std::move(act)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            ADD_FAILURE() << "no modal box open";
            return;
        }
        seen.caption = box->windowTitle().toStdString();
        seen.text = box->text().toStdString();
        seen.icon = box->icon();
        for (const QAbstractButton* button : box->buttons())
            seen.buttons.push_back(TextOf(button));
        seen.defaultButton = TextOf(box->defaultButton());
        seen.escapeButton = TextOf(box->escapeButton());
        // A box the action failed to close must not hold the whole test program.
        QTimer::singleShot(3000, box, [box] {
            ADD_FAILURE() << "the box is still open";
            box->done(0);
        });
        act(*box);
    });
}

std::function<void(QMessageBox&)> Click(const char* text) {
    return [text](QMessageBox& box) {
        for (QAbstractButton* button : box.buttons())
            if (button->text() == QString::fromUtf8(text)) {
                button->click();
                return;
            }
        ADD_FAILURE() << "no button " << text;
        box.close();
    };
}

std::function<void(QMessageBox&)> Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    return [key, modifiers](QMessageBox& box) {
        // Access keys work only in the active window, as for a user.
        box.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
        QWidget* target =
            QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &box;
        QTest::keyClick(target, key, modifiers);
    };
}

std::function<void(QMessageBox&)> CloseBox() {
    return [](QMessageBox& box) { box.close(); };
}

struct DialogCase {
    const char* name;
    tk::TMsgDlgType type;
    tk::TMsgDlgButtons buttons;
    std::function<void(QMessageBox&)> act;
    int result;
};

// Test names show the row's name, not its bytes.
void PrintTo(const DialogCase& c, std::ostream* os) {
    *os << c.name;
}

const char* const kQuestion = "Voulez-vous fermer\rla connexion Internet ?";

const DialogCase dialogCases[] = {
    {"YesClicked", tk::TMsgDlgType::mtConfirmation, tk::mbYes | tk::mbNo, Click("&Oui"), tk::mrYes},
    {"NoClicked", tk::TMsgDlgType::mtConfirmation, tk::mbYes | tk::mbNo, Click("&Non"), tk::mrNo},
    {"EnterTakesYes", tk::TMsgDlgType::mtConfirmation, tk::mbYes | tk::mbNo, Key(Qt::Key_Return),
     tk::mrYes},
    {"EscapeTakesNo", tk::TMsgDlgType::mtConfirmation, tk::mbYes | tk::mbNo, Key(Qt::Key_Escape),
     tk::mrNo},
    {"CloseBoxTakesNo", tk::TMsgDlgType::mtConfirmation, tk::mbYes | tk::mbNo, CloseBox(),
     tk::mrNo},
    {"AltOTakesYes", tk::TMsgDlgType::mtConfirmation, tk::mbYes | tk::mbNo,
     Key(Qt::Key_O, Qt::AltModifier), tk::mrYes},
    {"AltNTakesNo", tk::TMsgDlgType::mtConfirmation, tk::mbYes | tk::mbNo,
     Key(Qt::Key_N, Qt::AltModifier), tk::mrNo},
    {"InformationOk", tk::TMsgDlgType::mtInformation, tk::mbOK, Click("OK"), tk::mrOk},
    {"InformationEnter", tk::TMsgDlgType::mtInformation, tk::mbOK, Key(Qt::Key_Return), tk::mrOk},
    {"InformationEscape", tk::TMsgDlgType::mtInformation, tk::mbOK, Key(Qt::Key_Escape), tk::mrOk},
    {"ErrorEscape", tk::TMsgDlgType::mtError, tk::mbOK, Key(Qt::Key_Escape), tk::mrOk},
    {"ErrorCloseBox", tk::TMsgDlgType::mtError, tk::mbOK, CloseBox(), tk::mrOk},
};

QMessageBox::Icon IconOf(tk::TMsgDlgType type) {
    switch (type) {
    case tk::TMsgDlgType::mtError:
        return QMessageBox::Critical;
    case tk::TMsgDlgType::mtInformation:
        return QMessageBox::Information;
    case tk::TMsgDlgType::mtConfirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

class MessageBoxes : public testing::TestWithParam<DialogCase> {};

TEST_P(MessageBoxes, ShowAndAnswer) {
    const DialogCase& c = GetParam();
    Seen seen;
    WhenBoxOpens(seen, c.act);
    const int result = tk::ShowMessageDialog(kQuestion, c.type, c.buttons);

    EXPECT_EQ(result, c.result);
    EXPECT_EQ(seen.caption, tk::DialogCaption(c.type));
    EXPECT_EQ(seen.text, "Voulez-vous fermer\nla connexion Internet ?");
    EXPECT_EQ(seen.icon, IconOf(c.type));
    if (c.buttons & tk::mbYes) {
        EXPECT_EQ(seen.buttons, (std::vector<std::string>{"&Oui", "&Non"}));
        EXPECT_EQ(seen.defaultButton, "&Oui");
        EXPECT_EQ(seen.escapeButton, "&Non");
    } else {
        EXPECT_EQ(seen.buttons, std::vector<std::string>{"OK"});
        EXPECT_EQ(seen.defaultButton, "OK");
        EXPECT_EQ(seen.escapeButton, "OK");
    }
}

INSTANTIATE_TEST_SUITE_P(Qt, MessageBoxes, testing::ValuesIn(dialogCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ErrorBox, StopIconTitleCaptionAndOk) {
    Seen seen;
    WhenBoxOpens(seen, Key(Qt::Key_Return));
    tk::ShowErrorBox("Pendulix", "Argument incorrect pour l'encodage de date");
    EXPECT_EQ(seen.caption, "Pendulix");
    EXPECT_EQ(seen.text, "Argument incorrect pour l'encodage de date");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(seen.defaultButton, "OK");
}

TEST(ErrorBox, TextWithMarkupShowsAsWritten) {
    Seen seen;
    WhenBoxOpens(seen, Key(Qt::Key_Escape));
    tk::ShowErrorBox("Pendulix", "<b>é</b> & \"à\"");
    EXPECT_EQ(seen.text, "<b>é</b> & \"à\"");
}

// The box's own loop keeps the program's timers and posted work going: a time limit elapses,
// and a name lookup's answer arrives, while the user has not answered yet.
TEST(ModalLoop, TimersAndPostedWorkRunWhileABoxWaits) {
    std::vector<std::string> events;
    tk::StartTimer(20, [&] {
        events.push_back("timer");
        tk::PostToLoop([&] {
            events.push_back("posted");
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->close();
        });
    });
    const int result =
        tk::ShowMessageDialog("?", tk::TMsgDlgType::mtConfirmation, tk::mbYes | tk::mbNo);
    EXPECT_EQ(result, tk::mrNo);
    EXPECT_EQ(events, (std::vector<std::string>{"timer", "posted"}));
}

} // namespace
