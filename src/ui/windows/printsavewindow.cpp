#include "windows/printsavewindow.h"

#include <QHBoxLayout>
#include <QPushButton>

TBO::TBO(QWidget *parent) : Form("TBO", parent)
{
    // A small tool window kept above the slip it serves, without a caption.
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint);
    // Shown by the slip on each of its activations: taking the activation
    // from the slip would only start the slip's activation again.
    setAttribute(Qt::WA_ShowWithoutActivating);
    Impression = named<QPushButton>(this, "Impression");
    Impression->setText(QStringLiteral("Impression"));
    Enregistrement = named<QPushButton>(this, "Enregistrement");
    Enregistrement->setText(QStringLiteral("Enregistrement"));
    Impression->setEnabled(false);
    Enregistrement->setEnabled(false);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(Impression);
    layout->addWidget(Enregistrement);
}
