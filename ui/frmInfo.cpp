#include "ui/frmInfo.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

frmInfo::frmInfo(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Orvan Info"));
    setModal(true);

    auto* title = new QLabel(QStringLiteral("<b>Orvan</b> %1").arg(QStringLiteral(ORVAN_VERSION)));
    auto* blurb = new QLabel(QStringLiteral(
        "Turns a pad controller in native mode into a freely mappable MIDI controller."));
    blurb->setWordWrap(true);

    // A link only to a page that exists: a build without one names the licence instead.
    const QString url = QStringLiteral(ORVAN_HOME_PAGE);
    lblLink = new QLabel(
        url.isEmpty() ? QStringLiteral("Free software under the GNU GPL, version 3 or later.")
                      : QStringLiteral("<a href=\"%1\">%1</a>").arg(url));
    lblLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(lblLink, &QLabel::linkActivated, this,
            [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });

    btnClose = new QPushButton(QStringLiteral("X"));
    btnClose->setFixedWidth(32);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblLink, 1);
    bottom->addWidget(btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(blurb);
    layout->addLayout(bottom);
}
