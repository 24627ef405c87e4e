#pragma once

#include <QDialog>
#include <QString>

#include <vector>

class QButtonGroup;

// Common part of the dialogs that offer one choice among radio buttons and
// hand back the chosen index as one decimal digit. The radio buttons form one
// group in template order, followed by "Abbrechen" (2) and "Setzen" (1,
// default).
class CRadioDlg : public QDialog {
    Q_OBJECT
public:
    int m_nIndex = 0;     // selected option in template order; selected when the dialog opens
    QString m_strResult;  // m_nIndex as one digit, set by "Setzen"

    void accept() override;

protected:
    struct Option {
        int id;
        QString text;
    };

    explicit CRadioDlg(QWidget* parent);
    // Builds the controls; called by each dialog's constructor with its own texts.
    void Build(const QString& title, const std::vector<Option>& options);

    void showEvent(QShowEvent* event) override;

private:
    QButtonGroup* m_pGroup = nullptr;
};
