// The qt backend's application object, form and controls: a QWidget window with its push
// button and its (never shown) list, and the message loop over QCoreApplication::processEvents.
#include "platform/Forms.h"

#include "platform/DateTime.h"
#include "platform/StdCtrls.h"
#include "platform/qt/Runtime.h"
#include "platform/qt/Widgets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tk {

namespace {

// At most this long per ProcessMessages, so that a flood of events cannot hold the run back.
constexpr int kMaxProcessingMs = 100;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class FormWindow : public QWidget {
public:
    explicit FormWindow(TForm& form) : form_(form) {}

protected:
    // The close box (or the window manager's Close) does what TForm::Close says.
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        form_.Close();
    }

private:
    TForm& form_;
};

Qt::WindowFlags FlagsOf(const TForm& form) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (form.BorderIcons & biSystemMenu)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (form.BorderIcons & biMinimize)
        flags |= Qt::WindowMinimizeButtonHint;
    if (form.BorderStyle == TBorderStyle::bsSizeable && (form.BorderIcons & biMaximize))
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

void CreateControl(TControl& control, QWidget* parent) {
    QWidget* widget = nullptr;
    if (auto* button = dynamic_cast<TButton*>(&control)) {
        auto* push = new QPushButton(FromUtf8(button->Caption), parent);
        push->setEnabled(button->Enabled());
        QObject::connect(push, &QPushButton::clicked, push, [button] { button->Click(); });
        widget = push;
    } else if (dynamic_cast<TListBox*>(&control) != nullptr) {
        // Its lines live in Items; this program never shows the box.
        widget = new QListWidget(parent);
    } else {
        return;
    }
    widget->setObjectName(FromUtf8(control.Name));
    widget->setGeometry(control.Left, control.Top, control.Width, control.Height);
    widget->setVisible(control.Visible);
    auto native = std::unique_ptr<TControl::Native, TControl::NativeDeleter>(new TControl::Native);
    native->widget = widget;
    control.SetNative(std::move(native));
}

} // namespace

namespace qt {

QFont LayoutFont(const TFont& font) {
    QFont chosen = QApplication::font();
    if (QFontDatabase::hasFamily(FromUtf8(font.Name)))
        chosen.setFamily(FromUtf8(font.Name));
    chosen.setPointSize(font.Size);
    return chosen;
}

} // namespace qt

void TForm::NativeDeleter::operator()(Native* native) const {
    if (!qt::Exiting())
        delete native->window.data();
    delete native;
}

void TControl::NativeDeleter::operator()(Native* native) const {
    if (!qt::Exiting())
        delete native->widget.data(); // already gone when its form went first
    delete native;
}

void TApplication::Initialize() {
    qt::TheApplication();
    LoadFormatSettings();
}

void TApplication::ProcessMessages() {
    qt::FreeRetiredNotifiers();
    QCoreApplication::processEvents(QEventLoop::AllEvents, kMaxProcessingMs);
}

void TApplication::WaitMessage() {
    qt::FreeRetiredNotifiers();
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

std::string TApplication::ExeName() const {
    std::string path(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < path.size()) {
            path.resize(static_cast<std::size_t>(length));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void TForm::CreateHandle() {
    qt::TheApplication();
    auto* window = new FormWindow(*this);
    window->setObjectName(FromUtf8(Name));
    window->setWindowFlags(FlagsOf(*this));
    window->setWindowTitle(FromUtf8(Caption()));
    // The desktop's own font: the layout's is Windows' dialog font of its day.
    window->setFont(QApplication::font());
    if (BorderStyle == TBorderStyle::bsSingle)
        window->setFixedSize(ClientWidth, ClientHeight);
    else
        window->resize(ClientWidth, ClientHeight);
    if (Position == TPosition::poDesigned)
        window->move(Left, Top);

    auto native = std::unique_ptr<Native, NativeDeleter>(new Native);
    native->window = window;
    SetNative(std::move(native));

    std::vector<TControl*> ordered = Controls();
    std::stable_sort(ordered.begin(), ordered.end(), [](const TControl* a, const TControl* b) {
        return a->TabOrder < b->TabOrder;
    });
    QWidget* previous = nullptr;
    for (TControl* control : ordered) {
        CreateControl(*control, window);
        QWidget* widget = control->native() != nullptr ? control->native()->widget.data() : nullptr;
        if (widget == nullptr)
            continue;
        if (previous != nullptr)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    if (Visible())
        UpdateVisible();
}

void TForm::UpdateCaption() {
    if (native() != nullptr && native()->window)
        native()->window->setWindowTitle(FromUtf8(Caption()));
}

void TForm::UpdateVisible() {
    if (native() == nullptr || !native()->window)
        return;
    QWidget* window = native()->window;
    if (!Visible()) {
        window->hide();
        return;
    }
    if (window->isVisible())
        return;
    if (!native()->shownBefore) {
        // Looking fonts up loads the whole font configuration: only for a window that shows.
        native()->shownBefore = true;
        qt::PrepareToShow();
        for (TControl* control : Controls())
            if (!control->ParentFont && control->native() != nullptr && control->native()->widget)
                control->native()->widget->setFont(qt::LayoutFont(control->Font));
    }
    if (Position == TPosition::poScreenCenter) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            window->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter,
                                                    window->size(), screen->availableGeometry()));
    }
    window->show();
    window->raise();
    window->activateWindow();
}

std::uintptr_t TForm::Handle() const {
    if (native() == nullptr || !native()->window)
        return 0;
    return static_cast<std::uintptr_t>(native()->window->winId());
}

void TButton::UpdateEnabled() {
    if (native() != nullptr && native()->widget)
        native()->widget->setEnabled(Enabled());
}

} // namespace tk
