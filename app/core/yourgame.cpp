#include "yourgame.h"

#include "gamefiles/gametables.h"
#include "platform.h"
#include "rules.h"

#include <QDir>
#include <QFileInfo>

namespace tarvo {

using namespace gamefiles;

namespace {

struct InUse {
    bool known = false; // whether the fields below say what the rules are
    QString settings;   // the settings file the choice was read from
    GameChoice choice;  // without its asked flag
    std::shared_ptr<const GameContent> content;
    bool rulesSet = false; // the current rules were set here
};

InUse& inUse() {
    static InUse state;
    return state;
}

QString& searchHome() {
    static QString home;
    return home;
}

GameChoice withoutAsked(GameChoice c) {
    c.asked = false;
    if (!c.useGame)
        c = {};
    return c;
}

OpenMWFolders foldersFor(const GameChoice& c) {
    OpenMWFolders f = OpenMWFolders::forHome(gameSearchHome());
    const QFileInfo info(c.path);
    if (info.isFile())
        f.userConfig = info.absolutePath();
    if (!c.openmwUserData.isEmpty())
        f.userData = c.openmwUserData;
    return f;
}

// The rules while the game cannot be used: the original tables, with a note.
GameRules unreadable(const GameChoice& c, const QStringList& why) {
    GameRules r = GameRules::builtIn();
    r.origin.fallbacks << RulesNote{
        -1, -1, -1,
        QStringLiteral("Your game (%1) could not be read, so the original game's numbers are "
                       "used: %2")
            .arg(QDir::toNativeSeparators(c.path), why.join(QStringLiteral("; ")))};
    return r;
}

void setRules(InUse& s, const GameRules& rules, bool builtIn) {
    // The original tables are current from the start: set them only in
    // place of rules set here.
    if (builtIn && !s.rulesSet)
        return;
    s.rulesSet = !builtIn;
    setCurrentRules(rules);
}

void use(const QString& settings, const GameChoice& choice, const GameRead* read) {
    InUse& s = inUse();
    s.known = true;
    s.settings = settings;
    s.choice = choice;
    s.content.reset();
    if (!choice.useGame || choice.path.isEmpty()) {
        setRules(s, GameRules::builtIn(), true);
        return;
    }
    const GameRead fresh = read && read->content ? GameRead() : readGame(choice);
    const GameRead& game = read && read->content ? *read : fresh;
    const QStringList failures = game.failures();
    if (!failures.isEmpty()) {
        s.rulesSet = true;
        setCurrentRules(unreadable(choice, failures));
        return;
    }
    s.content = game.content;
    GameRules rules = rulesFromGame(*game.content);
    for (const QString& p : game.order.problems)
        rules.origin.fallbacks.prepend({-1, -1, -1, p});
    s.rulesSet = true;
    setCurrentRules(rules);
}

} // namespace

QStringList GameRead::failures() const {
    if (content && !content->isEmpty())
        return {};
    QStringList out = order.problems;
    if (content)
        for (const FileProblem& p : content->problems)
            out << p.message();
    if (out.isEmpty())
        out << (order.files.isEmpty() ? QStringLiteral("it loads no content files")
                                      : QStringLiteral("none of its content files can be read"));
    return out;
}

GameRead readGame(const GameChoice& choice) {
    GameRead g;
    if (choice.path.isEmpty())
        return g;
    if (!QFileInfo::exists(choice.path)) {
        g.order.configFile = choice.path;
        g.order.problems
            << QStringLiteral("%1 is not there").arg(QDir::toNativeSeparators(choice.path));
        g.content = std::make_shared<const GameContent>();
        return g;
    }
    g.order = loadOrderFor(choice.path, foldersFor(choice));
    g.content = std::make_shared<const GameContent>(loadGameContent(g.order));
    return g;
}

void useChosenGame() {
    const QString settings = settingsFile();
    const GameChoice choice = withoutAsked(readGameChoice());
    const InUse& s = inUse();
    if (s.known && s.settings == settings && s.choice == choice)
        return;
    use(settings, choice, nullptr);
}

std::shared_ptr<const GameContent> gameInUse() {
    return inUse().content;
}

bool chooseGame(const GameChoice& choice, const GameRead& read) {
    if (!writeGameChoice(choice))
        return false;
    const GameChoice now = withoutAsked(choice);
    const InUse& s = inUse();
    // Nothing has needed the rules yet: they are made when first needed.
    if (!s.known && !now.useGame)
        return true;
    // A game read afresh is used even when the choice stays (a file of it
    // may have been mended since).
    const bool fresh = now.useGame && read.content;
    if (s.known && s.settings == settingsFile() && s.choice == now && !fresh)
        return true;
    use(settingsFile(), now, &read);
    return true;
}

QString gameSearchHome() {
    return searchHome().isEmpty() ? QDir::homePath() : searchHome();
}

void setGameSearchHome(const QString& home) {
    searchHome() = home;
}

GameChoice choiceFor(const GameLocation& place) {
    GameChoice c;
    c.useGame = true;
    c.path = place.path;
    // OpenMW's data folder of a configuration elsewhere (Flatpak).
    if (place.kind == GameLocation::Kind::OpenMWConfig &&
        place.folders.userData != OpenMWFolders::forHome(gameSearchHome()).userData)
        c.openmwUserData = place.folders.userData;
    return c;
}

QList<GameLocation> findYourGame() {
    return findGameLocations(gameSearchHome());
}

void offerFoundGameOnce() {
    GameChoice choice = readGameChoice();
    if (choice.asked || choice.useGame || !choice.path.isEmpty())
        return;
    const QList<GameLocation> found = findYourGame();
    if (found.isEmpty())
        return;
    QStringList places;
    for (const GameLocation& l : found)
        places << QStringLiteral("%1: %2").arg(l.source, QDir::toNativeSeparators(l.path));
    const QString text =
        (found.size() == 1
             ? QStringLiteral("TARVO2 found your game:\n\n%1\n\nShould the character sheet and "
                              "the level planner take their numbers from it, with the plugins "
                              "it loads?")
             : QStringLiteral("TARVO2 found your game in %2 places:\n\n%1\n\nShould the "
                              "character sheet and the level planner take their numbers from "
                              "the first, with the plugins it loads?")
                   .arg(QStringLiteral("%1"))
                   .arg(found.size()))
            .arg(places.join(QLatin1Char('\n'))) +
        QStringLiteral("\n\nNo keeps the original game's tables. The \"Your game\" page of the "
                       "options changes this at any time.");
    const bool yes = msgBox(text, MsgButtons::YesNo, MsgIcon::Question) == MsgResult::Yes;
    choice.asked = true;
    if (yes) {
        choice = choiceFor(found.first());
        choice.asked = true;
    }
    chooseGame(choice);
}

} // namespace tarvo
