#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Scales a form laid out at one screen resolution to the running one. Qt's
// own high-DPI scaling does the scaling here; the scaler keeps the contract
// of telling its form, once the form is shown, the resolution it runs at
// when that differs from the one it was designed at.
class TkvxFormScaler : public QObject {
public:
    // (sender, new resolution, design resolution)
    using TkvxOnScaling = std::function<void(TkvxFormScaler *, int, int)>;

    // Raises "TkvxFormScaler owner must be TForm descendent" unless `owner`
    // is a window.
    explicit TkvxFormScaler(QObject *owner);

    int DesignTimePixelsPerInch() const { return m_designPpi; }
    void SetDesignTimePixelsPerInch(int ppi) { m_designPpi = ppi; }
    void SetOnScaling(TkvxOnScaling onScaling) { m_onScaling = std::move(onScaling); }

    // The resolution the form runs at (its screen's logical DPI times the
    // device pixel ratio), as the scaling sees it.
    static int ScreenPixelsPerInch(const QWidget *form);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_designPpi = 96;
    bool m_done = false;
    TkvxOnScaling m_onScaling;
};
