#include "settings/frmOption.h"

#include "platform/MessageBox.h"
#include "platform/qt/FormLook.h"
#include "platform/qt/FormMetrics.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsInputs.h"
#include "settings/SettingsWriter.h"
#include "settings/WrappingCheckBox.h"
#include "settings/WrappingRadioButton.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

namespace {

enum Choice { SaveCurrent = 0, ResetFile = 1, ResetFileAndWindow = 2 };
enum Button { OK = 0, Cancel = 1 };

struct OptionLayout {
    const char* caption;
    const char* toolTip;
    QRect place;
};

} // namespace

frmOption::frmOption(Context context, QWidget* parent)
    : QDialog(parent), m_context(std::move(context))
{
    using platform::twipsRect;
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(tr("初期設定"));
    setFont(platform::interfaceFont(10.5));
    setFixedSize(platform::fromTwips(2685), platform::fromTwips(2760));

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setToolTip(tr("処理する内容を選択"));
    Frame1->setGeometry(twipsRect(150, 45, 2400, 1680));

    const std::array<OptionLayout, 3> options { {
        { QT_TR_NOOP("現在の設定を保存"), QT_TR_NOOP("現在の設定を保存します"),
            twipsRect(120, 300, 2160, 300) },
        { QT_TR_NOOP("設定を初期値に戻す"), QT_TR_NOOP("設定のみを初期値に戻します"),
            twipsRect(120, 720, 2160, 300) },
        { QT_TR_NOOP("設定とウィンドウを初期値に戻す"),
            QT_TR_NOOP("設定とウィンドウの両方を初期値に戻します"), twipsRect(120, 1020, 2160, 540) },
    } };
    for (std::size_t i = 0; i < options.size(); ++i) {
        // The last caption is two lines high.
        QRadioButton* option = i == ResetFileAndWindow ? new WrappingRadioButton(Frame1)
                                                       : new QRadioButton(Frame1);
        option->setObjectName(QStringLiteral("optOption_%1").arg(i));
        option->setText(tr(options[i].caption));
        option->setToolTip(tr(options[i].toolTip));
        option->setGeometry(options[i].place);
        optOption[i] = option;
    }
    optOption[SaveCurrent]->setChecked(true);

    // Two lines high, between the frame and the buttons: its caption is wider than the dialog.
    chkSkipIdentical = new WrappingCheckBox(tr("同じ内容のファイルは省略する"), this);
    chkSkipIdentical->setObjectName(QStringLiteral("chkSkipIdentical"));
    chkSkipIdentical->setToolTip(tr("保存先に同じ内容のファイルがあるときは、コピーも移動もしません"));
    chkSkipIdentical->setGeometry(twipsRect(150, 1740, 2400, 480));

    const std::array<OptionLayout, 2> buttons { {
        { QT_TR_NOOP("OK"), QT_TR_NOOP("実行します"), twipsRect(150, 2250, 1170, 405) },
        { QT_TR_NOOP("Cancel"), QT_TR_NOOP("実行をキャンセルします"), twipsRect(1410, 2250, 1170, 405) },
    } };
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        auto* button = new QPushButton(tr(buttons[i].caption), this);
        button->setObjectName(QStringLiteral("cmdOKCancel_%1").arg(i));
        button->setToolTip(tr(buttons[i].toolTip));
        button->setGeometry(buttons[i].place);
        connect(button, &QPushButton::clicked, this,
                [this, i] { cmdOKCancel_Click(static_cast<int>(i)); });
        cmdOKCancel[i] = button;
    }
    cmdOKCancel[OK]->setDefault(true);

    setTabOrder(optOption[ResetFile], optOption[SaveCurrent]);
    setTabOrder(optOption[SaveCurrent], chkSkipIdentical);
    setTabOrder(chkSkipIdentical, cmdOKCancel[OK]);
    setTabOrder(cmdOKCancel[OK], cmdOKCancel[Cancel]);
    setTabOrder(cmdOKCancel[Cancel], optOption[ResetFileAndWindow]);
}

void frmOption::showEvent(QShowEvent* event)
{
    // A change left by Cancel is not kept: the box shows what the window does.
    chkSkipIdentical->setChecked(m_context.inputs.skipIdentical());
    QDialog::showEvent(event);
}

void frmOption::keyPressEvent(QKeyEvent* event)
{
    // No key stands for Cancel: Escape must not close the dialog.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmOption::closeEvent(QCloseEvent* event)
{
    m_unloadRequested = true;
    QDialog::closeEvent(event);
}

void frmOption::cmdOKCancel_Click(int Index)
{
    if (Index == OK)
        cmdOK_Click();
    else
        hide();
}

void frmOption::cmdOK_Click()
{
    // The file is rewritten whatever the choice. It is stored before the window is
    // reset, so a failed save changes nothing and leaves the dialog open to try again
    // or cancel.
    SettingsWriter file(m_context.settingsPath);
    const bool skipIdentical = chkSkipIdentical->isChecked();
    if (optOption[SaveCurrent]->isChecked())
        WriteSettings(file, m_context.inputs, skipIdentical);
    else if (optOption[ResetFile]->isChecked() || optOption[ResetFileAndWindow]->isChecked())
        WriteDefaultSettings(file, m_context.TempFolderPath);
    if (const int error = file.close(); error != 0) {
        m_context.messages.showMessage(file.failureMessage(error));
        return;
    }
    if (skipIdentical != m_context.inputs.skipIdentical())
        m_context.inputs.setSkipIdentical(skipIdentical);
    if (optOption[ResetFileAndWindow]->isChecked())
        resetWindow();
    hide();
}

void frmOption::resetWindow()
{
    SettingsInputs& inputs = m_context.inputs;
    inputs.setFolderText(SettingsInputs::Source, QString());
    inputs.setFolderText(SettingsInputs::Destination, m_context.TempFolderPath);
    inputs.selectOperation(0);
    inputs.setFileTypeText(QStringLiteral("jpg"));
    if (inputs.skipIdentical())
        inputs.setSkipIdentical(false);
    chkSkipIdentical->setChecked(false);
}
