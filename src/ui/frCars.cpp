#include "frCars.h"

#include "kvxLang.h"
#include "kvxLangApply.h"
#include "ui_frCars.h"
#include "vdrApplication.h"
#include "vdrCarRec.h"
#include "vdrCarSave.h"
#include "vdrCars.h"
#include "vdrCodePageInput.h"
#include "vdrHelpTopic.h"
#include "vdrLog.h"
#include "vdrUDF.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <QStyle>

namespace {

// The grid row's field number; the placeholder row has none.
constexpr int kUdfNbrRole = Qt::UserRole;

// The sum of the characters' advances: never narrower than the shaped text
// (kerning only takes room away), and far cheaper to get for hundreds of
// names, since each character is measured once.
class TNameWidths {
public:
    explicit TNameWidths(const QFont &font) : m_metrics(font) {}
    int Of(const QString &text) {
        int width = 0;
        for (QChar ch : text) {
            auto found = m_advances.constFind(ch);
            if (found == m_advances.constEnd())
                found = m_advances.insert(ch, m_metrics.horizontalAdvance(ch));
            width += *found;
        }
        return width;
    }
    int Height() const { return m_metrics.height(); }

private:
    QFontMetrics m_metrics;
    QHash<QChar, int> m_advances;
};

} // namespace

TfraCars::TfraCars(QWidget *parent)
    : TvdrFrame(parent, vdrHelpTopics::CarView), m_ui(std::make_unique<Ui::TfraCars>()) {
    m_ui->setupUi(this);
    RefuseUnstorableText(m_ui->edtMake);
    RefuseUnstorableText(m_ui->edtModel);
    for (QLineEdit *edit : {static_cast<QLineEdit *>(m_ui->nedYear), m_ui->edtMake, m_ui->edtModel})
        connect(edit, &QLineEdit::textEdited, this, [this] { RunGuarded([this] { DataOnChange(); }); });
    TvdrUdfGrid *grid = m_ui->sgrUDF;
    connect(grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (!m_filling && item->column() == 1)
            sgrUDFSetEditText(item->row(), item->text());
    });
    // A click on a name goes to its value.
    connect(grid, &QTableWidget::currentCellChanged, this, [grid](int row, int column) {
        if (row >= 0 && column == 0)
            grid->setCurrentCell(row, 1);
    });
    grid->SetOnTabPastEnd([this] {
        if (m_onLastCellTab)
            m_onLastCellTab(m_ui->sgrUDF);
    });
    grid->SetOnBackTabPastStart([this] { m_ui->edtModel->setFocus(Qt::BacktabFocusReason); });
    grid->setItemDelegate(new TvdrCodePageDelegate(grid));
}

TfraCars::~TfraCars() = default;

void TfraCars::LoadCar(qint32 carNbr) {
    Log().Write(QStringLiteral("TfraCars initializing"));
    ApplyToFrame(this);
    m_carNbr = carNbr;
    const TvdrCarRec car = Cars().CarRec(carNbr);
    m_ui->nedYear->SetIntValue(car.Year);
    m_ui->edtMake->setText(car.Make);
    m_ui->edtModel->setText(car.Model);
    RefreshUDFGrid();
    m_modified = false;
}

void TfraCars::RefreshUDFGrid() {
    TvdrUdfGrid *grid = m_ui->sgrUDF;
    // What the user typed and has not stored yet, by field.
    QHash<qint32, QString> typed;
    for (int row = 0; row < grid->rowCount() && row < m_loadedValues.size(); ++row) {
        const QVariant udfNbr = grid->item(row, 0)->data(kUdfNbrRole);
        const QString text = grid->item(row, 1)->text();
        if (udfNbr.isValid() && text != m_loadedValues[row])
            typed.insert(udfNbr.toInt(), text);
    }
    m_filling = true;
    grid->setUpdatesEnabled(false);
    grid->setHorizontalHeaderLabels(
        {Lang().GetText(QStringLiteral("CarUDFField")), Lang().GetText(QStringLiteral("CarUDFValue"))});
    const QList<QPair<qint32, QString>> values = CarValuesForAllFields(m_carNbr);
    TNameWidths metrics(grid->font());
    int widest = 0;
    m_loadedValues.clear();
    grid->clearContents();
    grid->setRowCount(values.isEmpty() ? 1 : int(values.size()));
    const auto addRow = [grid, &metrics, &widest](int row, const QString &name, const QString &value) {
        auto *nameItem = new QTableWidgetItem(name);
        nameItem->setFlags(Qt::ItemIsEnabled);
        grid->setItem(row, 0, nameItem);
        grid->setItem(row, 1, new QTableWidgetItem(value));
        widest = qMax(widest, metrics.Of(name));
        return nameItem;
    };
    for (int row = 0; row < values.size(); ++row) {
        const qint32 udfNbr = values[row].first;
        QTableWidgetItem *name = addRow(row, UDF().NameAt(row), typed.value(udfNbr, values[row].second));
        name->setData(kUdfNbrRole, udfNbr);
        m_loadedValues.append(values[row].second);
    }
    if (values.isEmpty()) {
        addRow(0, Lang().GetText(QStringLiteral("CarUDFNoFieldsDefined")), QString());
        grid->item(0, 1)->setFlags(Qt::ItemIsEnabled);
    }
    const int rowHeight = qMax(18, metrics.Height() + 4);
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    // The designed 8 pixels beside the text, plus the cell's own margins.
    const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
    grid->SetNamesWidth(widest + 8 + margins);
    grid->setCurrentCell(0, 1);
    grid->setUpdatesEnabled(true);
    m_filling = false;
    if (!typed.isEmpty())
        m_modified = true;
    FrameResize();
}

QString TfraCars::LabelText() const {
    return QStringLiteral("%1 %2 %3")
        .arg(m_ui->nedYear->GetIntValue())
        .arg(m_ui->edtMake->text(), m_ui->edtModel->text());
}

void TfraCars::DataOnChange() {
    m_modified = true;
    if (m_onLabelChange)
        m_onLabelChange(LabelText());
}

void TfraCars::sgrUDFSetEditText(int row, const QString &text) {
    // Any change counts, a change of letter case too: it is what the user
    // typed, and it would be lost otherwise.
    if (row >= 0 && row < m_loadedValues.size() && text != m_loadedValues[row])
        m_modified = true;
}

void TfraCars::SaveCar(qint32 carNbr) {
    TvdrCarEntry entry;
    entry.CarNbr = carNbr;
    entry.Year = qint32(m_ui->nedYear->GetIntValue());
    entry.Make = m_ui->edtMake->text();
    entry.Model = m_ui->edtModel->text();
    const TvdrUdfGrid *grid = m_ui->sgrUDF;
    for (int row = 0; row < grid->rowCount(); ++row) {
        const QVariant udfNbr = grid->item(row, 0)->data(kUdfNbrRole);
        if (udfNbr.isValid())
            entry.Values.append({udfNbr.toInt(), grid->item(row, 1)->text()});
    }
    ::SaveCar(entry);
    m_modified = false;
}

void TfraCars::CloseView() {
    // Leaving the current cell commits a value still open for typing.
    m_ui->sgrUDF->setCurrentCell(-1, -1);
    if (m_modified && m_carNbr >= 0) {
        SaveCar(m_carNbr);
        if (m_onCarSaved)
            m_onCarSaved();
    }
    m_loadedValues.clear();
}

void TfraCars::DiscardView() {
    m_modified = false;
    m_loadedValues.clear();
}

void TfraCars::FrameResize() {
    // Make and Model share the room right of Year (the layout's stretch),
    // and the grid sizes its own columns; what is left is to keep the
    // current value in sight.
    m_ui->sgrUDF->KeepCurrentRowVisible();
}
