#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QWidget>

/// A window with the main window's four inputs under their object names, placed by
/// position in a fixed-size window, that records the changes its handlers see.
class StandInWindow final : public QWidget {
public:
    QStringList changes;
    int startClicks = 0;

    StandInWindow()
    {
        setFixedSize(392, 186);
        for (int i = 0; i < 2; ++i) {
            auto* box = new QLineEdit(this);
            box->setObjectName(QStringLiteral("txtFolder_%1").arg(i));
            box->setGeometry(8, 20 + 44 * i, 320, 24);
            connect(box, &QLineEdit::textChanged, this, [this, i](const QString& text) {
                changes << QStringLiteral("folder%1=").arg(i) + text;
            });
        }
        for (int i = 0; i < 4; ++i) {
            auto* option = new QRadioButton(this);
            option->setObjectName(QStringLiteral("optOperat_%1").arg(i));
            option->setGeometry(16 + 60 * (i / 2), 114 + 28 * (i % 2), 56, 20);
            connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
                if (on)
                    changes << QStringLiteral("operation=%1").arg(i);
            });
        }
        findChild<QRadioButton*>(QStringLiteral("optOperat_0"))->setChecked(true);
        auto* types = new QLineEdit(QStringLiteral("jpg"), this);
        types->setObjectName(QStringLiteral("txtFileType"));
        types->setGeometry(184, 110, 200, 24);
        connect(types, &QLineEdit::textChanged, this,
                [this](const QString& text) { changes << QStringLiteral("types=") + text; });
        auto* start = new QPushButton(QStringLiteral("実行"), this);
        start->setObjectName(QStringLiteral("cmdStart"));
        start->setGeometry(188, 140, 76, 38);
        connect(start, &QPushButton::clicked, this, [this] { ++startClicks; });
        changes.clear();
    }
};
