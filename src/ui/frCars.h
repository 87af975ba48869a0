#pragma once

#include "vdrFrame.h"

#include <QStringList>

#include <functional>
#include <memory>

namespace Ui {
class TfraCars;
}

// The view of a car node: Year, Make, Model and the values of the
// user-defined fields. Edits are kept in the view and the whole car is
// written back when the view closes, and only when the user changed
// something. The tree label follows the typing.
class TfraCars : public TvdrFrame {
public:
    explicit TfraCars(QWidget *parent = nullptr);
    ~TfraCars() override;

    // Set before LoadCar.
    void SetOnLabelChange(std::function<void(const QString &)> handler) {
        m_onLabelChange = std::move(handler);
    }
    void SetOnLastCellTab(std::function<void(QWidget *)> handler) { m_onLastCellTab = std::move(handler); }
    void SetOnCarSaved(std::function<void()> handler) { m_onCarSaved = std::move(handler); }

    void LoadCar(qint32 carNbr);
    // Refills the grid from the tables. Values the user typed and has not
    // stored yet stay in their fields' rows.
    void RefreshUDFGrid();
    void SaveCar(qint32 carNbr);

    // Writes the car back when the user changed it.
    void CloseView() override;
    void DiscardView() override;

    bool Modified() const { return m_modified; }
    qint32 CarNbr() const { return m_carNbr; }
    Ui::TfraCars &Form() const { return *m_ui; }

    void DataOnChange();
    void sgrUDFSetEditText(int row, const QString &text);
    void FrameResize();

private:
    QString LabelText() const;

    std::unique_ptr<Ui::TfraCars> m_ui;
    qint32 m_carNbr = -1;
    bool m_modified = false;
    bool m_filling = false;
    QStringList m_loadedValues; // one per field row, as filled
    std::function<void(const QString &)> m_onLabelChange;
    std::function<void(QWidget *)> m_onLastCellTab;
    std::function<void()> m_onCarSaved;
};
