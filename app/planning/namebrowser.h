// The name browser, a page of the progress window: the categories listed in
// the index file of a name folder, the names of the chosen category, and the
// random name generator.
#pragma once

#include <QFrame>

#include <memory>

class QComboBox;
class QKeyEvent;
class QLabel;
class QListWidget;
class QPushButton;

namespace tarvo {

class NameGenerator;

class NameBrowser : public QFrame {
    Q_OBJECT
public:
    explicit NameBrowser(QWidget* parent);
    ~NameBrowser() override;

    // Lists the categories of kind ("Class" or "Character") and the names of
    // the first, and puts the focus on the category list.
    void open(const QString& kind);
    // The selected name; empty when none is selected.
    QString selectedName() const;
    // True when Enter on key should insert the selected name.
    bool isInsertKey(const QKeyEvent* key) const;

    // Lists the names of the chosen category (or five generated ones).
    void cboCategory_Click();
    // Five more generated names below those listed.
    void cmdGenerate_Click();
    // Appends one generated name.
    void CompileNames();

signals:
    // A name was double-clicked.
    void nameChosen();
    void selectionChanged(bool anySelected);

private:
    void compileNames(int count);
    void showStatus(const QString& text);

    QString m_kind;
    QComboBox* m_cboCategory = nullptr;
    QListWidget* m_lstNames = nullptr;
    QListWidget* m_lstTemp = nullptr;
    QPushButton* m_cmdGenerate = nullptr;
    QLabel* m_lblNameStatus = nullptr;
    std::unique_ptr<NameGenerator> m_generator;
};

} // namespace tarvo
