#include "shell/InfoDlg.h"

#include "common/ResourceIds.h"
#include "shell/HyperlinkStatic.h"
#include "shell/ProductVersion.h"
#include "ui_InfoDlg.h"
#include "views/TransparentBitmap.h"

// The picture lives in a static library's resources, which register only when
// asked to. Outside any namespace, as the registration macro requires.
static void RegisterPictures() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(about);
        return true;
    }();
    (void)registered;
}

CInfoDlg::CInfoDlg(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::CInfoDlg>()) {
    RegisterPictures();
    m_ui->setupUi(this);
    m_ui->IDOK->setObjectName(QString::number(Res::IDOK));
    m_ui->IDC_VERSION->setObjectName(QString::number(kVersionId));
    m_ui->IDC_PICTURE->setObjectName(QString::number(kPictureId));
    m_ui->IDC_MAIL_LINK->setObjectName(QString::number(kMailLinkId));
    m_ui->IDC_WEB_LINK->setObjectName(QString::number(kWebLinkId));
    m_picture = m_ui->IDC_PICTURE;
    m_mailLink = m_ui->IDC_MAIL_LINK;
    m_webLink = m_ui->IDC_WEB_LINK;
    OnInitDialog();
}

CInfoDlg::~CInfoDlg() = default;

// Links are blue; on a dark desktop pure blue can hardly be read, so the
// desktop's own link colour is taken there.
QColor CInfoDlg::LinkColour() const {
    return palette().color(QPalette::Window).lightness() < 128 ? palette().color(QPalette::Link)
                                                               : QColor(0, 0, 255);
}

void CInfoDlg::OnInitDialog() {
    QFont linkFont = font();
    linkFont.setUnderline(true);
    for (CHyperlinkStatic* link : {m_mailLink, m_webLink}) {
        link->SetLinkFont(linkFont);
        link->SetLink(true);
        link->SetLinkColor(LinkColour());
        link->SetLinkCursor(QCursor(Qt::PointingHandCursor));
    }
    m_picture->SetTransparent(true);
    m_ui->IDC_VERSION->setText(m_ui->IDC_VERSION->text() + QLatin1Char(' ') + GetProductVersion());
}
