#include "about/frmAbout.h"

#include "platform/qt/FormLook.h"
#include "platform/qt/FormMetrics.h"

#include <QLabel>
#include <QPainter>
#include <QIcon>
#include <QPushButton>

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& toolTip, QRect place)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setToolTip(toolTip);
    label->setGeometry(place);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

frmAbout::frmAbout(const ProgramInfo& info, QWidget* parent) : QDialog(parent)
{
    using platform::twipsRect;
    setObjectName(QStringLiteral("frmAbout"));
    setFont(platform::interfaceFont(10.5));
    setFixedSize(platform::fromTwips(4500), platform::fromTwips(2250));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(tr("このダイアログを閉じます"));
    cmdOK->setGeometry(twipsRect(3300, 1800, 1020, 345));
    cmdOK->setDefault(true);
    // QDialog closes on Escape by itself, which makes OK the cancel button as well.
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    picIcon = makeLabel(
        this, "picIcon", tr("このロゴは Quorvane 開発者のものです"), twipsRect(120, 360, 720, 720));
    picIcon->setPixmap(platform::applicationIcon().pixmap(48, 48));

    lblTitle = makeLabel(this, "lblTitle", tr("ソフトの名前です"), twipsRect(1320, 60, 2805, 420));
    QFont titleFont = platform::interfaceFont(18);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    lblTitle->setFont(titleFont);

    lblVersion = makeLabel(this, "lblVersion", tr("バージョン番号です"), twipsRect(2940, 540, 1425, 225));
    lblDescription
        = makeLabel(this, "lblDescription", tr("ｱﾌﾟﾘｹｰｼｮﾝの説明です"), twipsRect(1080, 810, 3165, 540));
    // Three lines of the smaller size fit the description's place.
    lblDescription->setFont(platform::interfaceFont(9));
    lblDescription->setWordWrap(true);
    lblDisclaimer = makeLabel(this, "lblDisclaimer", tr("著作権です"), twipsRect(360, 1560, 3810, 285));

    cmdOK->setFocus();
    Form_Load(info);
}

void frmAbout::Form_Load(const ProgramInfo& info)
{
    setWindowTitle(tr("ﾊﾞｰｼﾞｮﾝ情報 %1").arg(info.title));
    lblTitle->setText(info.fileDescription);
    lblVersion->setText(QStringLiteral("Version %1.%2").arg(info.versionMajor).arg(info.versionMinor));
    lblDescription->setText(tr("このアプリは、指定した拡張子のファイルを別の指定したフォルダに移動、コピー、"
                               "ゴミ箱へ、削除できます"));
    lblDisclaimer->setText(tr("警告:  %1").arg(info.legalNotice));
}

void frmAbout::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // The etched rule under the description: a white line two pixels wide with a grey
    // line one pixel wide drawn over its upper half.
    QPainter painter(this);
    const int left = platform::fromTwips(240);
    const int right = platform::fromTwips(4260);
    const int y = platform::fromTwips(1440);
    painter.fillRect(QRect(QPoint(left, y), QPoint(right, y + 1)), Qt::white);
    painter.fillRect(QRect(QPoint(left, y), QPoint(right, y)), QColor(128, 128, 128));
}
