// The character planning assistant: three activity sliders, three keywords
// and two questions from which a whole character is planned and handed to
// the wizard, which opens on its review step.
#pragma once

#include <QWidget>

#include <array>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;

namespace tarvo {

class frmWizard : public QWidget {
    Q_OBJECT
public:
    frmWizard();

    static constexpr int kSliderMaximum = 32;

    // Whether each keyword box is ticked ("True"/"False"), and how many are.
    std::array<QString, 6> KeywordState;
    int KeywordCount = 0;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void HScroll_Change(int index);
    void chkKeywords_Click(int index);
    void cmdBuild_Click();
    void ReadOptions();

    QLabel* m_lblTitle = nullptr;
    std::array<QGroupBox*, 4> m_fmeSteps{};
    std::array<QSlider*, 3> m_HScroll{};
    std::array<QCheckBox*, 6> m_chkKeywords{};
    QButtonGroup* m_optOthers = nullptr;
    QButtonGroup* m_optPersonal = nullptr;
    QPushButton* m_cmdBuild = nullptr;
    QPushButton* m_cmdClose = nullptr;
    // Set once a build has handed the character to the wizard: closing then
    // does not return to the welcome window.
    bool m_built = false;
};

// The welcome window's "The Character Planning Assistant": opens the
// assistant in place of the welcome window and the wizard's windows. When
// the wizard holds unsaved changes the user is first asked whether to save
// them; Cancel (or a save that did not happen) keeps everything as it was.
void OpenPlanningAssistant(QWidget* welcome);

} // namespace tarvo
