#include "frPicture.h"

#include "ui_frPicture.h"
#include "vdrCars.h"
#include "vdrHelpTopic.h"
#include "vdrLog.h"
#include "vdrPicture.h"
#include "vdrPictureImage.h"

TfraPicture::TfraPicture(QWidget *parent)
    : TvdrFrame(parent, vdrHelpTopics::PictureView), m_ui(std::make_unique<Ui::TfraPicture>()) {
    m_ui->setupUi(this);
    m_ui->imgNoPicAvail->SetImage(NoPictureImage());
    m_ui->imgNoPicAvail->hide();
}

TfraPicture::~TfraPicture() = default;

void TfraPicture::LoadPicture(qint32 carNbr, TkvxStreamFile *database) {
    Log().Write(QStringLiteral("TfraPicture initializing"));
    TvdrPicture picture(carNbr);
    picture.SetStreamFile(database);
    picture.Load();
    const QString extension = Cars().PictureExtension(carNbr);
    m_ui->imgCar->Clear();
    m_ui->imgNoPicAvail->hide();
    m_ui->imgCar->show();
    m_ui->imgCar->raise();
    if (!IsShownPictureExtension(extension)) {
        ShowNoPicture();
        return;
    }
    try {
        m_ui->imgCar->SetImage(DecodeCarPicture(picture.data(), extension));
    } catch (...) {
        ShowNoPicture();
        throw;
    }
}

void TfraPicture::ShowNoPicture() {
    m_ui->imgCar->hide();
    m_ui->imgNoPicAvail->show();
    m_ui->imgNoPicAvail->raise();
}
