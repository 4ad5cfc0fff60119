// The path suggestions: guilds, quests, important quests and a house for the
// character's specialization, each with a description, the reason and an
// online link. The main and progress windows wait while it is open.
#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QListWidget;
class QPushButton;

namespace tarvo {

class frmPaths : public QWidget {
    Q_OBJECT
public:
    frmPaths();
    ~frmPaths() override;

    // The list position of the last clicked entry, as text.
    QString SelectedIndex;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void LoadSuggestions();
    // A click on entry row of list (0 guilds, 1 quests, 2 important quests,
    // 3 house).
    void entryClicked(int list, int row);
    void lblLink_Click();
    void setLinkColour(const QColor& colour);

    QString m_file;
    std::array<QListWidget*, 4> m_lists{};
    QLabel* m_lblTitle = nullptr;
    QLabel* m_lblName = nullptr;
    QLabel* m_lblDescriptionTitle = nullptr;
    std::array<QLabel*, 2> m_lblDescription{};
    QLabel* m_lblLink = nullptr;
    QPushButton* m_cmdClose = nullptr;
};

// The wizard's "Check out your paths": without a specialization a balloon
// says so; else the character goes to its working copy (ChangesMade kept)
// and the suggestions open.
void cmdPath_Click();

} // namespace tarvo
