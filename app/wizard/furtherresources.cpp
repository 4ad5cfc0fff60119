#include "furtherresources.h"

#include "frmMain.h"
#include "globals.h"
#include "onlinelinks.h"
#include "platform.h"

#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

namespace tarvo {

namespace {

// The step's controls and handlers; it lives as long as the window.
struct StepNine : QObject {
    StepNine(frmMain* window) : QObject(window), w(window) {
        list = w->findChild<QListWidget*>(QStringLiteral("lstWebsites"));
        logo = w->findChild<QLabel*>(QStringLiteral("imgWebLogo"));
        name = w->findChild<QLabel*>(QStringLiteral("lblWebName"));
        description = w->findChild<QLabel*>(QStringLiteral("lblWebDescription"));
        open = w->findChild<QPushButton*>(QStringLiteral("cmdOpen"));
        add = w->findChild<QPushButton*>(QStringLiteral("cmdAdd"));
        shareButton = w->findChild<QPushButton*>(QStringLiteral("cmdShare"));
    }
    bool complete() const {
        return list && logo && name && description && open && add && shareButton;
    }

    frmMain* w;
    QListWidget* list;
    QLabel* logo;
    QLabel* name;
    QLabel* description;
    QPushButton* open;
    QPushButton* add;
    QPushButton* shareButton;

    Website selected() const {
        const int n = list->currentRow();
        return n < 0 ? Website{} : websiteAt(n, list->item(n)->text());
    }
    // The site's address; the home page when the list gives none.
    QString address(const Website& site) const {
        return site.url.isEmpty() ? globals().Domain : site.url;
    }

    void siteSelected() {
        if (list->currentRow() < 0)
            return;
        const Website site = selected();
        name->setText(site.category);
        description->setText(site.description);
        // Read with the site when the list has the focus, as shown beside it.
        list->currentItem()->setData(Qt::AccessibleDescriptionRole,
                                     site.category + QStringLiteral(": ") + site.description);
        open->setEnabled(!site.url.isEmpty());
        add->setEnabled(!site.url.isEmpty());
        const QString picture = websiteLogo(site.name);
        const QPixmap pm(picture);
        if (!pm.isNull())
            logo->setPixmap(pm.scaled(logo->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
        logo->setAccessibleName(site.name + QStringLiteral(" logo"));
    }
    void openSite() {
        if (list->currentRow() >= 0 && open->isEnabled())
            openHomePage(address(selected()), QString());
    }
    void addFavourite() {
        if (list->currentRow() < 0 || !add->isEnabled())
            return;
        const Website site = selected();
        const FavouriteResult r = AddFavorite(site.name, address(site));
        msgBox(r.message, MsgButtons::OK, r.ok ? MsgIcon::Information : MsgIcon::Exclamation);
    }
    void share() {
        msgBox(QStringLiteral("TARVO2 will now launch the Share Profiles page. Please copy your "
                              "character to the clipboard (use Step Eight's Copy to Clipboard "
                              "function) and paste it into the character box on the page that "
                              "appears."),
               MsgButtons::OK, MsgIcon::Information);
        w->selectStep(7);
        openSharePage();
    }
};

} // namespace

void wireFurtherResources(frmMain* w) {
    auto* s = new StepNine(w);
    if (!s->complete()) {
        delete s;
        return;
    }
    // Nothing to open or add until a site is chosen.
    s->open->setEnabled(false);
    s->add->setEnabled(false);
    s->list->setAccessibleName(QStringLiteral("Websites"));
    s->logo->setAccessibleName(QStringLiteral("Website logo"));
    // A choice, not the focus arriving (which makes the first row current).
    QObject::connect(s->list, &QListWidget::itemSelectionChanged, s, [s] { s->siteSelected(); });
    QObject::connect(s->list, &QListWidget::itemClicked, s, [s] { s->siteSelected(); });
    QObject::connect(s->list, &QListWidget::itemDoubleClicked, s, [s] { s->openSite(); });
    QObject::connect(s->open, &QPushButton::clicked, s, [s] { s->openSite(); });
    QObject::connect(s->add, &QPushButton::clicked, s, [s] { s->addFavourite(); });
    QObject::connect(s->shareButton, &QPushButton::clicked, s, [s] { s->share(); });
}

} // namespace tarvo
