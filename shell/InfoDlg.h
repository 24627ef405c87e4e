#pragma once

#include <QDialog>

#include <memory>

class CTransparentBitmap;
class CHyperlinkStatic;
namespace Ui {
class CInfoDlg;
}

// The information dialog: program version, the maker's details, two links
// to the maker (web and mail) and the picture with white left out.
class CInfoDlg : public QDialog {
    Q_OBJECT
public:
    // Ids of the numbered controls; like every dialog's controls they carry
    // them as object names ("101", ...; the OK button "1").
    static constexpr int kVersionId = 101;
    static constexpr int kPictureId = 102;
    static constexpr int kMailLinkId = 103;
    static constexpr int kWebLinkId = 104;

    explicit CInfoDlg(QWidget* parent = nullptr);
    ~CInfoDlg() override;

private:
    void OnInitDialog();
    QColor LinkColour() const;

    std::unique_ptr<Ui::CInfoDlg> m_ui;
    CTransparentBitmap* m_picture = nullptr;
    CHyperlinkStatic* m_mailLink = nullptr;
    CHyperlinkStatic* m_webLink = nullptr;
};
