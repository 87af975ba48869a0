#pragma once

#include "vdrFrame.h"

#include <memory>

class TkvxStreamFile;
namespace Ui {
class TfraPicture;
}

// The view of a car's picture node: the car's picture, or the built-in
// image saying that none is available. Exactly one of the two shows.
class TfraPicture : public TvdrFrame {
public:
    explicit TfraPicture(QWidget *parent = nullptr);
    ~TfraPicture() override;

    // (Re)fills the view from the car's picture stream in `database`. A
    // stream that does not decode as the car's picture extension says
    // raises its error after the view has switched to the no-picture image.
    void LoadPicture(qint32 carNbr, TkvxStreamFile *database);

    Ui::TfraPicture &Form() const { return *m_ui; }

private:
    void ShowNoPicture();

    std::unique_ptr<Ui::TfraPicture> m_ui;
};
