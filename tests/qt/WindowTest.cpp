// The program's window on the qt backend, as FormCreate leaves it with no settings file: size,
// frame, caption, button, the hidden list, fonts, icon, and what its close box does.
#include "app/Unit1.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <QFontDatabase>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

#include <memory>

namespace {

class Window : public testing::Test {
protected:
    void SetUp() override {
        // FormCreate reads Pendulix.ini beside this program: a stray one would start a run.
        const std::string dir = tk::ExtractFilePath(tk::Application->ExeName());
        ASSERT_FALSE(tk::FileExists(dir + "Pendulix.ini")) << "remove " << dir << "Pendulix.ini";
        saved_ = tk::Application;
        application_ = std::make_unique<tk::TApplication>();
        tk::Application = application_.get();
        tk::Application->SetTitle("Pendulix");
        tk::Application->ShowMainForm = false;
        tk::Application->CreateForm(Form1);
        window_ = QApplication::topLevelWidgets().isEmpty() ? nullptr : Find<QWidget>("Form1");
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        tk::Application = saved_;
        application_.reset();
        Form1 = nullptr;
    }

    template <class W> static W* Find(const char* name) {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == name)
                return qobject_cast<W*>(top);
            if (auto* child = top->findChild<W*>(name))
                return child;
        }
        return nullptr;
    }

    QWidget* window_ = nullptr;

private:
    tk::TApplication* saved_ = nullptr;
    std::unique_ptr<tk::TApplication> application_;
};

TEST_F(Window, FixedSizeCentredWithMinimiseAndCloseOnly) {
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->size(), QSize(379, 85));
    EXPECT_EQ(window_->minimumSize(), QSize(379, 85));
    EXPECT_EQ(window_->maximumSize(), QSize(379, 85));
    const Qt::WindowFlags flags = window_->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((window_->geometry().center() - screen.center()).manhattanLength(), 2);
}

TEST_F(Window, CaptionIsTheApplicationTitle) {
    EXPECT_EQ(window_->windowTitle().toStdString(), "Pendulix");
}

TEST_F(Window, ButtonCaptionPlaceAndFont) {
    auto* button = Find<QPushButton>("Button1");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text().toStdString(), "Mets mon PC à l'heure !");
    EXPECT_EQ(button->geometry(), QRect(16, 16, 345, 49));
    EXPECT_TRUE(button->isVisible());
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(button->font().pointSize(), 14);
    const QString expected =
        QFontDatabase::hasFamily("Arial") ? QString("Arial") : QApplication::font().family();
    EXPECT_EQ(button->font().family(), expected);
    // The window itself keeps the desktop's font.
    EXPECT_EQ(window_->font(), QApplication::font());
}

TEST_F(Window, ButtonFollowsItsEnabledState) {
    auto* button = Find<QPushButton>("Button1");
    ASSERT_NE(button, nullptr);
    Form1->Button1.SetEnabled(false);
    EXPECT_FALSE(button->isEnabled());
    Form1->Button1.SetEnabled(true);
    EXPECT_TRUE(button->isEnabled());
}

TEST_F(Window, ListIsNeverShown) {
    auto* list = Find<QListWidget>("ListBox1");
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(list->geometry(), QRect(200, 8, 121, 50));
}

TEST_F(Window, ShowsTheProgramIcon) {
    const QList<QSize> sizes = window_->windowIcon().availableSizes();
    for (int size : {16, 32, 48, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}

TEST_F(Window, CloseBoxHidesTheWindowAndEndsTheProgram) {
    EXPECT_FALSE(tk::Application->Terminated());
    window_->close();
    EXPECT_FALSE(window_->isVisible());
    EXPECT_FALSE(Form1->Visible());
    EXPECT_TRUE(tk::Application->Terminated());
}

TEST_F(Window, HandleStaysTheSameHiddenOrShown) {
    const std::uintptr_t shown = Form1->Handle();
    EXPECT_NE(shown, 0u);
    Form1->SetVisible(false);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(Form1->Handle(), shown);
}

} // namespace
