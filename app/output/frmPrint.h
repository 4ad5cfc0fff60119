// The printing options window: printer (or a PDF file), page layout,
// copies and pictures; Print sends the page and closes the window.
#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tarvo {

class frmPrint : public QDialog {
    Q_OBJECT
public:
    frmPrint();

    // The entry of the printer list that writes a PDF file instead.
    static QString pdfEntry();

    // Prints with the choices made; true when the page went out and the
    // window closed.
    bool cmdPrint_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void Form_Load();
    void Form_Unload();
    void SetupPrinterCombo();
    void cboPrinters_Click();

    QLabel* m_lblTitle = nullptr;
    std::array<QLabel*, 5> m_lblID{};
    std::array<QCheckBox*, 3> m_chkContentOptions{};
    std::array<QRadioButton*, 2> m_optOrientation{};
    QComboBox* m_cboCopies = nullptr;
    QComboBox* m_cboPrinters = nullptr;
    QPushButton* m_cmdPrint = nullptr;
    QPushButton* m_cmdClose = nullptr;
    bool m_unloaded = false;
};

// Opens the printing options window (once; a second call raises it).
frmPrint* showPrintOptions();

} // namespace tarvo
