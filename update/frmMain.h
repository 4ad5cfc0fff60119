// The update checker's window "Update Checker": connect, check for updates,
// download the needed ones. Transfers run while the window stays responsive;
// lblService tells whether one runs, and closing meanwhile asks first.
#pragma once

#include "updatelist.h"

#include <QDialog>
#include <QUrl>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace tarvo::update {

class Download;

// The title of this program's message boxes.
inline const QString kTitle = QStringLiteral("TARVO2 Update Checker");

class frmMain : public QDialog {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The width of the progress bar's filled part, in twips of its 3495.
    int barWidth() const { return m_bar; }
    bool isBusy() const;

    // Escape closes the window as Close does.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void cmdUpdate_Click();
    void lstUpdates_Click();
    void cmdDownload_Click();
    void cmdMore_Click();
    void LoadList();

    void startFastDownload(const UpdateEntry& entry);
    void checkFinished(bool ok, const QString& reason);
    void fastDownloadFinished(bool ok, const QString& reason);
    void checkFailed(const QString& message, const QString& status);
    // The list's address is missing or unusable: the player is told where
    // newer versions come from instead.
    void noUpdateSource(const QString& unusable);
    // Whether entry e is the system's packages' to update, not this program's.
    bool packaged(const UpdateEntry& e) const;
    void setBar(int twipsWide);
    void setService(bool started);
    void setIndicator(int index, const QString& caption);
    void clearDetails();
    // The address an entry names, or a message saying why it is refused.
    std::optional<QUrl> addressOrRefuse(const QString& text, const QString& what);

    QLabel* m_lblTitle = nullptr;
    std::array<QLabel*, 3> m_lblStep{};
    std::array<QLabel*, 6> m_lblID{};
    std::array<QCheckBox*, 2> m_chkDone{};
    QPushButton* m_cmdUpdate = nullptr;
    QProgressBar* m_picStatus = nullptr;
    QWidget* m_imgStatus = nullptr;
    QLabel* m_lblStatus = nullptr;
    QLabel* m_lblService = nullptr;
    QGroupBox* m_fmeSection = nullptr;
    QLabel* m_lblDownload = nullptr;
    QListWidget* m_lstUpdates = nullptr;
    QLabel* m_lblUpdate = nullptr;
    QLabel* m_lblUpdateDescription = nullptr;
    QLabel* m_lblLatestVersion = nullptr;
    QLabel* m_lblYourVersion = nullptr;
    QPushButton* m_cmdMore = nullptr;
    QPushButton* m_cmdDownload = nullptr;
    QPushButton* m_cmdClose = nullptr;

    Download* m_download = nullptr;
    int m_bar = 0;
    // The list on show, as last downloaded.
    UpdateList m_list;
    // The address the list came from: relative addresses in it start there.
    QUrl m_listUrl;
    // Whether that list came over https all the way: only such a list may
    // replace a program.
    bool m_listSecure = false;
    // The last check failed because the page was not a list at all.
    bool m_notAList = false;
    // The entry a Fast Download is fetching, and where to.
    UpdateEntry m_fetching;
    QString m_fetchTarget;
    QUrl m_fetchUrl;
    bool m_checking = false;
};

} // namespace tarvo::update
