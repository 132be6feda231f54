// The message dialogs and the default error box as QMessageBox, with the program's own button
// texts (the desktop's language may differ from the program's French). exec() runs the box's
// own event loop, in which timers, socket notifications and posted work go on.
#include "platform/Dialogs.h"

#include "platform/Forms.h"
#include "platform/qt/Runtime.h"

#include <QMessageBox>
#include <QPushButton>

#include <string>
#include <utility>
#include <vector>

namespace tk {

namespace {

struct BoxButton {
    const char* text;
    QMessageBox::ButtonRole role;
    int result;
};

// `buttons`: the first is the default; `escape` is what Escape and the close box give.
int Show(const std::string& caption, const std::string& text, QMessageBox::Icon icon,
         const std::vector<BoxButton>& buttons, int escape) {
    qt::TheApplication();
    qt::PrepareToShow();
    QMessageBox box;
    box.setWindowTitle(QString::fromStdString(caption));
    box.setIcon(icon);
    box.setTextFormat(Qt::PlainText);
    // "\r" alone breaks a line in the program's texts.
    QString lines = QString::fromStdString(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(lines);
    box.setWindowModality(Qt::ApplicationModal);

    std::vector<std::pair<QAbstractButton*, int>> results;
    for (const BoxButton& button : buttons) {
        QPushButton* added = box.addButton(QString::fromUtf8(button.text), button.role);
        results.emplace_back(added, button.result);
        if (button.result == escape)
            box.setEscapeButton(added);
    }
    box.setDefaultButton(static_cast<QPushButton*>(results.front().first));
    box.exec();
    for (const auto& [button, result] : results) {
        if (box.clickedButton() == button)
            return result;
    }
    return escape;
}

QMessageBox::Icon IconOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtError:
        return QMessageBox::Critical;
    case TMsgDlgType::mtInformation:
        return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::Critical;
}

} // namespace

int ShowMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    if ((buttons & (mbYes | mbNo)) != 0)
        return Show(DialogCaption(type), text, IconOf(type),
                    {{"&Oui", QMessageBox::YesRole, mrYes}, {"&Non", QMessageBox::NoRole, mrNo}},
                    mrNo);
    return Show(DialogCaption(type), text, IconOf(type), {{"OK", QMessageBox::AcceptRole, mrOk}},
                mrOk);
}

void ShowErrorBox(const std::string& caption, const std::string& text) {
    Show(caption, text, QMessageBox::Critical, {{"OK", QMessageBox::AcceptRole, mrOk}}, mrOk);
}

} // namespace tk
