#include "app/qavmraboutdialog.h"

#include "support/qaedition.h"
#include "support/qainstall.h"

#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

QString productName()
{
    return QAEdition::isZephrin()
               ? QCoreApplication::translate("ORBKIdent", "Tarvex Quintar Zephrin")
               : QCoreApplication::translate("ORBKIdent", "Tarvex Quintar Orbisk");
}

// The box is white in every desktop theme, so its texts are given their own dark ink: a
// dark theme's light text would vanish on it.
void paintOn(QWidget *widget, const QColor &background, const QColor &foreground)
{
    QPalette pal = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Window, background);
        pal.setColor(group, QPalette::Base, background);
        pal.setColor(group, QPalette::WindowText, foreground);
        pal.setColor(group, QPalette::Text, foreground);
    }
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

} // namespace

QString QAVmrAboutDialog::versionNumber()
{
    return QCoreApplication::translate("ORBKIdent", "Version 1.0.0");
}

QString QAVmrAboutDialog::buildNumber()
{
    return QCoreApplication::translate("ORBKIdent", "Build 2009.1");
}

QAVmrAboutDialog::QAVmrAboutDialog(const QString &programPath, QWidget *parent,
                                   const char *name)
    : QDialog(parent)
{
    if (name)
        setObjectName(QLatin1String(name));
    setModal(true);
    setWindowTitle(tr("About ") + QAEdition::applicationTitle());
    setWindowIcon(QAEdition::windowIcon());
    const QColor white(255, 255, 255);
    const QColor teal(0, 128, 128);
    const QColor ink(0, 0, 0);
    paintOn(this, white, ink);

    const QString heading = QStringLiteral("<h2 align=\"left\"><font color=\"#007c7c\">") +
                            productName() + QStringLiteral("</font></h2>\n");
    const QString legalLine = QCoreApplication::translate(
        "ORBKIdent", "Copyright (C) 2009 Quintar Software. All rights reserved.");
    const QString legalNotice = QCoreApplication::translate(
        "ORBKIdent",
        "This program is part of a test product of Quintar Software and is licensed, "
        "not sold, under the terms of the licence agreement that came with it.\n\n"
        "Any use, copy or distribution of this program or of its parts that the licence "
        "agreement does not allow is forbidden.\n\n"
        "The program is provided \"as is\", without warranty of any kind, express or "
        "implied, including the warranties of merchantability and fitness for a particular "
        "purpose.");

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto *top = new QHBoxLayout;
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("about picture"));
    picture->setPixmap(QPixmap(QAInstall::pixmapDir(programPath) + QDir::separator()
                               + QStringLiteral("about.png")));
    paintOn(picture, white, ink);
    top->addWidget(picture);
    top->addSpacing(20);

    auto *column = new QVBoxLayout;
    column->addSpacing(5);
    const QStringList texts = {heading, legalLine, versionNumber(), buildNumber()};
    for (int i = 0; i < texts.size(); ++i) {
        auto *label = new QLabel(texts.at(i), this);
        label->setObjectName(QStringLiteral("about text %1").arg(i));
        paintOn(label, white, teal);
        column->addWidget(label);
        column->addSpacing(i == texts.size() - 1 ? 10 : 5);
    }
    top->addLayout(column);
    top->addSpacing(10);
    layout->addLayout(top);

    auto *middle = new QHBoxLayout;
    middle->addSpacing(10);
    auto *notice = new QTextBrowser(this);
    notice->setObjectName(QStringLiteral("legal notice"));
    notice->setPlainText(legalNotice);
    middle->addWidget(notice);
    middle->addSpacing(10);
    layout->addLayout(middle);
    layout->addSpacing(10);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    auto *ok = new QPushButton(tr("&OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(ok);
    bottom->addStretch();
    layout->addLayout(bottom);
    layout->addSpacing(5);

    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QAVmrAboutDialog::~QAVmrAboutDialog() = default;
