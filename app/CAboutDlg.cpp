#include "CAboutDlg.h"

#include "Resource.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Torvex2"));
    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(48, 48));
    auto* lines = new QVBoxLayout;
    lines->addWidget(new QLabel(QStringLiteral("Torvex2, Version 2.0"), this));
    lines->addWidget(new QLabel(QStringLiteral("Transient circuit simulation for pulsed power"), this));
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(lines);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

QIcon CAboutDlg::ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 64.0, size / 64.0);
        QPainterPath body;
        body.addRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
        p.fillPath(body, QColor(31, 78, 140));
        // A rectangular pulse with a ringing tail: what the program is for.
        QPainterPath wave;
        wave.moveTo(8, 46);
        wave.lineTo(18, 46);
        wave.lineTo(20, 16);
        wave.lineTo(34, 16);
        wave.lineTo(36, 46);
        wave.cubicTo(40, 54, 43, 38, 46, 46);
        wave.cubicTo(49, 51, 51, 42, 56, 46);
        p.setPen(QPen(QColor(255, 214, 90), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(wave);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
