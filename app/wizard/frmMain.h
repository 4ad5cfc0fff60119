// The main window: the nine-step wizard that builds the current character.
// The window is thin: every click calls one operation of the character model
// and the window shows the model again from its signals.
#pragma once

#include "autoselect.h"

#include <QHash>
#include <QPixmap>
#include <QString>
#include <QVector>
#include <QWidget>
#include <array>
#include <functional>
#include <utility>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace tarvo {

struct BoardChoice;

class frmMain : public QWidget {
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;

    static constexpr int kStepCount = 9;
    static constexpr int kMarkCount = 11;
    static constexpr int kLinkCount = 5;
    // Window heights in twips: the advanced panel collapsed and expanded.
    static constexpr int kHeightCollapsed = 6015;
    static constexpr int kHeightExpanded = 6510;
    static constexpr int kWidth = 10200;

    // Selects step n (0 to 8) as a click on its step button does.
    void selectStep(int n);
    int currentStep() const;

    // Shows the progress window (Ctrl+W).
    void SwitchWindow();
    // Re-enables this window and the progress window 10 ms from now.
    void startEnableTimer();
    // Returns the progress window to its blue 100 ms from now.
    void startReturnBackgroundTimer();

    // Opens the loader for "Profile" or "Template".
    void OpenFile(const QString& task);

    // Composes the character as text into the hidden txtDataCompiler: "Yes"
    // marked up for the chosen message board, anything else plain.
    void Export(const QString& Tags);
    // The same marked up for the board and poll the formatting window shows.
    void Export(const BoardChoice& choice);
    // The text of txtDataCompiler, line ends as composed.
    QString dataCompilerText() const;

    // The quick tip at rest: "About" and the version line.
    void DefaultTipStatus();

    // The step each status mark jumps to.
    static int stepOfMark(int mark);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setDataCompilerText(const QString& text);
    // --- building -------------------------------------------------------------
    void buildNavigation();
    void buildStepFrames();
    void buildStepOne(QGroupBox* f);
    void buildStepTwo(QGroupBox* f);
    void buildStepThree(QGroupBox* f);
    void buildStepFour(QGroupBox* f);
    void buildStepFive(QGroupBox* f);
    void buildStepSix(QGroupBox* f);
    void buildStepSeven(QGroupBox* f);
    void buildStepEight(QGroupBox* f);
    void buildStepNine(QGroupBox* f);
    void buildNextBack(QGroupBox* f, int step);
    void buildChoiceFooter(QGroupBox* f, int autoSelect);
    void buildDetailsPanel(QGroupBox* f, const QString& titleName, const QString& detailsName,
                           int heading, int about, const QString& aboutText, QLabel*& title,
                           QPlainTextEdit*& details);
    void buildQuickTips();
    void buildAdvancedPanel();
    void buildMenus();
    void buildTips();
    void connectModel();
    void loadWindow();

    QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, int left, int top,
                      int width, int height, bool wrap = true);
    QLabel* makeHeading(QWidget* parent, const QString& name, const QString& text, int left,
                        int top, int width, int height);
    QPlainTextEdit* makeDescription(QWidget* parent, const QString& name, int left, int top,
                                    int width, int height);
    QLabel* makeLink(QGroupBox* f, int index);
    QLabel* makePicture(QWidget* parent, const QString& name, int left, int top, int width,
                        int height);

    // --- rendering the model --------------------------------------------------
    void renderAll();
    void renderReview(int line);
    void renderGroup(int group);
    void renderNameBox(int box);
    void renderArea(int area);
    void renderSkills();
    void renderSkillFrame();
    void syncSkillList(QListWidget* list, bool major);

    // --- handlers -------------------------------------------------------------
    void stepClicked(int n);
    void nextClicked(int k);
    void backClicked(int k);
    void statusClicked(int mark);
    void autoSelectClicked(int index);
    void skillItemChanged(bool major, QListWidgetItem* item);
    void skillItemClicked(bool major, QListWidgetItem* item);
    void advancedChanged(bool ticked);
    void controlsClicked(int index);
    void onlineClicked(int index);
    void makeDefault(QPushButton* button);
    // The window's own keys; true when the key was used.
    bool keyPressed(QWidget* receiver, QKeyEvent* key);

    // --- quick tips -----------------------------------------------------------
    void setTip(const QString& heading, const QString& text);
    void setTipWithToolTip(QWidget* w, const QString& heading, const QString& text);
    // Registers what the pointer over w shows; with toolTip the description
    // also becomes w's tool tip.
    void addTip(QWidget* w, std::function<std::pair<QString, QString>()> tip, bool toolTip);
    void restLinks();
    void linkHovered(int index);
    QString stepTask(int k) const;

    void unloadOtherWindows();
    QPixmap markPicture(bool blue) const;

    // Steps and navigation.
    std::array<QGroupBox*, kStepCount> m_fmeStep{};
    std::array<QRadioButton*, kStepCount> m_optNav{};
    std::array<QPushButton*, kStepCount - 1> m_cmdNext{};
    std::array<QPushButton*, kStepCount - 1> m_cmdBack{};
    QPushButton* m_cmdFinish = nullptr;
    QPushButton* m_defaultButton = nullptr;

    // Step one to three.
    QLabel* m_lblHello = nullptr;
    QLineEdit* m_txtRealName = nullptr;
    QLineEdit* m_txtClassName = nullptr;
    QLineEdit* m_txtCharacterName = nullptr;
    std::array<QPushButton*, 2> m_cmdSuggest{};
    std::array<QRadioButton*, 3> m_optClass{};
    std::array<QPushButton*, 3> m_cmdClassLink{};
    QLabel* m_lblClassTitle = nullptr;
    QPlainTextEdit* m_txtDescription = nullptr;
    std::array<QRadioButton*, 10> m_optRace{};
    QComboBox* m_cboGender = nullptr;
    QLabel* m_imgRace = nullptr;
    QLabel* m_lblRaceTitle = nullptr;
    QPlainTextEdit* m_txtRaceDescription = nullptr;
    std::array<QGroupBox*, 2> m_fmeClassSpecialization{};
    QGroupBox* m_fmeName = nullptr;
    QGroupBox* m_fmeRace = nullptr;
    QGroupBox* m_fmeGender = nullptr;

    // Steps four to six.
    QGroupBox* m_fmeFavAtt1 = nullptr;
    QGroupBox* m_fmeFavAtt2 = nullptr;
    std::array<QRadioButton*, 8> m_optFavAtt1{};
    std::array<QRadioButton*, 8> m_optFavAtt2{};
    QLabel* m_lblAttTitle = nullptr;
    QPlainTextEdit* m_txtAttributeDetails = nullptr;
    std::array<QRadioButton*, 2> m_optSkillSelect{};
    std::array<QGroupBox*, 2> m_fmeSkill{};
    QListWidget* m_lstMjrSkills = nullptr;
    QListWidget* m_lstMnrSkills = nullptr;
    QLabel* m_lblSkillInfoTitle = nullptr;
    QPlainTextEdit* m_txtSkillDetails = nullptr;
    QGroupBox* m_fmeBirthsign = nullptr;
    std::array<QRadioButton*, 13> m_optBirthsign{};
    QLabel* m_imgBirthsign = nullptr;
    QLabel* m_lblBirthsignTitle = nullptr;
    QPlainTextEdit* m_txtBirthsignDetails = nullptr;
    std::array<QPushButton*, 4> m_cmdAutoSelect{};
    std::array<QLabel*, kLinkCount> m_lblLink{};
    QVector<QLabel*> m_lblID;

    // Step seven.
    std::array<QLabel*, kMarkCount> m_txtReview{};
    std::array<QLabel*, kMarkCount> m_imgStatus{};

    // Steps eight and nine.
    QPushButton* m_cmdProfileSave = nullptr;
    QPushButton* m_cmdSave = nullptr;
    QPushButton* m_cmdCopy = nullptr;
    QPushButton* m_cmdPrint = nullptr;
    QListWidget* m_lstWebsites = nullptr;
    QLabel* m_imgWebLogo = nullptr;
    QLabel* m_lblWebName = nullptr;
    QLabel* m_lblWebDescription = nullptr;
    QPushButton* m_cmdOpen = nullptr;
    QPushButton* m_cmdAdd = nullptr;
    QPushButton* m_cmdShare = nullptr;
    QPushButton* m_cmdPath = nullptr;

    // Quick tips and the advanced panel.
    std::array<QLabel*, 2> m_lblQuickTip{};
    QFrame* m_fmeAdvanced = nullptr;
    QCheckBox* m_chkAdvanced = nullptr;
    std::array<QPushButton*, 6> m_cmdControls{};
    QMenu* m_mnuLoad = nullptr;
    QMenu* m_mnuOnline = nullptr;

    QTimer* m_tmrEnable = nullptr;
    QTimer* m_tmrReturnBackground = nullptr;

    // What the pointer over a control shows in the quick tip.
    QHash<QObject*, std::function<void()>> m_tips;
    // Containers whose bare area shows the resting tip.
    QVector<QWidget*> m_restAreas;

    // The red and the blue status mark.
    std::array<QPixmap, 2> m_markPictures;

    AutoSelector m_autoSelector;
};

} // namespace tarvo
