#include "lang/About.h"

#include "lang/GlobalConst.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QVBoxLayout>

namespace qm {
namespace {

// Who wrote the program and who helped.
const QString kAuthorName = QStringLiteral("Edric Vanmoor");
const QString kAuthorHandle = QStringLiteral("Quillsmith");
const QStringList kThanked = {QStringLiteral("Ysolde Tarn"), QStringLiteral("Bram Ashcombe"),
                              QStringLiteral("Nix Holloway"), QStringLiteral("Orrin Vale")};

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

QPixmap ProgramPicture() {
    return QPixmap(QStringLiteral(":/lang/Quillmark.png"));
}

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      ProgramIcon(MakeLabel(this, "ProgramIcon", QString())),
      ProductName(MakeLabel(this, "ProductName", QStringLiteral("Quillmark"))),
      Version(MakeLabel(this, "Version", QStringLiteral("Version 1.3.4"))),
      lblAuthor(MakeLabel(this, "lblAuthor", QString())),
      Comments(MakeLabel(this, "Comments",
                         "Thanks for help:\n\t" + kThanked.join(QLatin1String(", ")) + '.')),
      btnOK(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About..."));

    ProgramIcon->setPixmap(ProgramPicture());
    ProgramIcon->setFixedSize(64, 64);
    ProgramIcon->setScaledContents(true);
    QFont big = ProductName->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    ProductName->setFont(big);
    Comments->setWordWrap(true);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setFixedSize(75, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* pnlAbout = new QFrame(this);
    pnlAbout->setObjectName(QStringLiteral("pnlAbout"));
    // An outer lowered and an inner raised bevel: an etched groove.
    pnlAbout->setFrameStyle(QFrame::Box | QFrame::Sunken);
    pnlAbout->setMinimumWidth(440);
    auto* grid = new QGridLayout(pnlAbout);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(16);
    grid->addWidget(ProgramIcon, 0, 0, 2, 1);
    grid->addWidget(ProductName, 0, 1, Qt::AlignBottom);
    grid->addWidget(Version, 1, 1, Qt::AlignTop);
    grid->addWidget(lblAuthor, 2, 0, 1, 2);
    grid->addWidget(Comments, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowMinimumHeight(2, 28);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(pnlAbout);
    layout->addWidget(btnOK, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// The word before the author's name is the interface's, from the message
// table, as it stands when the box is shown.
void TAboutBox::showEvent(QShowEvent* event) {
    lblAuthor->setText(Msg(msgAuthor) + u' ' + kAuthorName + " (" + kAuthorHandle + ")");
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace qm
