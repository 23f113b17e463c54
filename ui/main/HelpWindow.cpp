#include "HelpWindow.h"

#include "ActivateOnShow.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// The text of :/help/Hilfe.html with the version of this build and of the Qt it runs with.
QString helpText()
{
    QFile file(QStringLiteral(":/help/Hilfe.html"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll())
        .arg(QStringLiteral(KALVORA_VERSION), QString::fromLatin1(qVersion()));
}

} // namespace

HelpWindow::HelpWindow(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("HelpWindow"));
    new ActivateOnShow(*this); // owned by the window
    setWindowTitle(tr("Kalvora – Hilfe"));
    resize(520, 560);

    // The document takes its colours and font from the palette and font the window runs with.
    auto* text = new QTextBrowser(this);
    text->setObjectName(QStringLiteral("helpText"));
    text->setAccessibleName(tr("Hilfe"));
    text->setTabChangesFocus(true); // Tab leaves it for the buttons
    text->setHtml(helpText());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* aboutQt = buttons->addButton(tr("Über &Qt"), QDialogButtonBox::ActionRole);
    aboutQt->setObjectName(QStringLiteral("aboutQt"));
    connect(aboutQt, &QPushButton::clicked, this,
            [this] { QMessageBox::aboutQt(this, tr("Über Qt")); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
    text->setFocus();
}

void HelpWindow::offerIn(QWidget& window)
{
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), &window); // owned by the window
    connect(key, &QShortcut::activated, &window, [&window] { showAbove(window); });
}

HelpWindow& HelpWindow::showAbove(QWidget& from)
{
    static QPointer<HelpWindow> help; // gone with the window it was last shown above
    QWidget* owner = from.window();
    if (help.isNull()) {
        help = new HelpWindow(owner);
    } else if (help->parentWidget() != owner) {
        // A modal window blocks every window but its own: the help moves to the caller, where
        // it was on the screen.
        const QPoint place = help->pos();
        help->setParent(owner, help->windowFlags());
        help->move(place);
    }
    help->show();
    help->raise();
    help->activateWindow(); // shown already: it takes the keys again
    return *help;
}
