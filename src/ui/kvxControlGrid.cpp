#include "kvxControlGrid.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <algorithm>

// --- TkvxSelectionList -----------------------------------------------------

void TkvxSelectionList::Add(const QString &text, std::unique_ptr<TkvxSelectionRec> object) {
    m_entries.push_back({text, std::move(object)});
}

void TkvxSelectionList::Clear() {
    m_entries.clear();
}

QString TkvxSelectionList::Strings(int index) const {
    return index >= 0 && index < Count() ? m_entries[size_t(index)].Text : QString();
}

TkvxSelectionRec *TkvxSelectionList::Objects(int index) const {
    return index >= 0 && index < Count() ? m_entries[size_t(index)].Object.get() : nullptr;
}

// --- TkvxControlRow --------------------------------------------------------

TkvxControlRow::TkvxControlRow(QWidget *parent)
    : QWidget(parent), m_field(new QComboBox(this)), m_direction(new QComboBox(this)) {
    const int listHeight = m_field->sizeHint().height();
    setFixedHeight(listHeight - 2);
    m_field->setGeometry(0, 0, FieldWidth, listHeight);
    m_direction->setGeometry(DirectionLeft, 0, DirectionWidth, listHeight);
}

// --- TkvxControlGrid -------------------------------------------------------

TkvxControlGrid::TkvxControlGrid(QWidget *parent)
    : QWidget(parent), m_header(new QHeaderView(Qt::Horizontal, this)),
      m_headerModel(new QStandardItemModel(0, 2, this)), m_rowArea(new QScrollArea(this)),
      m_rowBox(new QWidget) {
    resize(400, 138);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_headerModel->setHeaderData(0, Qt::Horizontal, QStringLiteral("Field name"));
    m_headerModel->setHeaderData(1, Qt::Horizontal, QStringLiteral("Sort direction"));
    m_header->setModel(m_headerModel);
    m_header->setSectionResizeMode(QHeaderView::Fixed);
    m_header->setSectionsClickable(false);
    m_header->setHighlightSections(false);
    m_header->setStretchLastSection(false);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_header->setFocusPolicy(Qt::NoFocus);
    m_header->resizeSection(0, SectionWidth);
    m_header->resizeSection(1, SectionWidth);
    m_header->setFixedHeight(m_header->sizeHint().height());
    layout->addWidget(m_header);

    m_rowArea->setFocusPolicy(Qt::NoFocus);
    m_rowArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_rowArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_rowArea->verticalScrollBar()->setTracking(true);
    m_rowArea->setWidgetResizable(false);
    m_rowArea->setWidget(m_rowBox);
    m_rowArea->installEventFilter(this);
    layout->addWidget(m_rowArea, 1);
    LayOutRows();
}

TkvxControlGrid::~TkvxControlGrid() = default;

TkvxControlRow *TkvxControlGrid::AddRow() {
    auto *row = new TkvxControlRow(m_rowBox);
    for (int i = 0; i < m_listFields.Count(); ++i)
        row->FieldCombo()->addItem(m_listFields.Strings(i));
    row->DirectionCombo()->addItems(m_listDirections);
    row->FieldCombo()->setCurrentIndex(-1);
    row->DirectionCombo()->setCurrentIndex(-1);
    row->DirectionCombo()->resize(m_directionWidth, row->DirectionCombo()->height());

    // Rows made at run time would follow the dialog's last button in the tab
    // order: each goes after the row above, the first after the control
    // before the grid.
    QWidget *before = m_rows.empty() ? nullptr : m_rows.back()->DirectionCombo();
    if (!before) {
        for (QWidget *w = previousInFocusChain(); w && w != this && w != window();
             w = w->previousInFocusChain()) {
            if (!isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus)) {
                before = w;
                break;
            }
        }
    }
    if (before)
        QWidget::setTabOrder(before, row->FieldCombo());
    QWidget::setTabOrder(row->FieldCombo(), row->DirectionCombo());

    m_rows.push_back(row);
    LayOutRows();
    row->show();
    if (ScrollBarShown())
        AdjustColumns();
    m_rowArea->ensureWidgetVisible(row, 0, 0);
    return row;
}

TkvxControlRow *TkvxControlGrid::Row(int index) const {
    return index >= 0 && index < RowCount() ? m_rows[size_t(index)] : nullptr;
}

TkvxControlRow *TkvxControlGrid::RowOf(const QWidget *control) const {
    if (!control)
        return nullptr;
    for (TkvxControlRow *row : m_rows)
        if (row->FieldCombo() == control || row->DirectionCombo() == control)
            return row;
    return nullptr;
}

int TkvxControlGrid::IndexOfRow(const TkvxControlRow *row) const {
    const auto found = std::find(m_rows.begin(), m_rows.end(), row);
    return found == m_rows.end() ? -1 : int(found - m_rows.begin());
}

void TkvxControlGrid::DeleteRow(TkvxControlRow *row) {
    if (RowCount() < 2)
        return;
    const int index = IndexOfRow(row);
    if (index < 0)
        return;
    m_rows.erase(m_rows.begin() + index);
    delete row;
    LayOutRows();
    if (!ScrollBarShown())
        AdjustColumns();
}

bool TkvxControlGrid::ScrollBarShown() const {
    // Worked out from the sizes: Qt shows or hides the bar only later.
    return m_rowBox->height() > m_rowArea->maximumViewportSize().height();
}

void TkvxControlGrid::AdjustColumns() {
    // The width the rows can use: the row area inside its frame, less a
    // shown scroll bar. The direction column ends there, in the header too.
    int usable = m_rowArea->maximumViewportSize().width();
    if (ScrollBarShown())
        usable -= m_rowArea->verticalScrollBar()->sizeHint().width();
    m_header->resizeSection(1, std::max(0, m_rowArea->frameWidth() + usable - m_header->sectionSize(0)));
    m_directionWidth = std::max(0, usable - TkvxControlRow::DirectionLeft);
    for (TkvxControlRow *row : m_rows)
        row->DirectionCombo()->resize(m_directionWidth, row->DirectionCombo()->height());
}

QStringList TkvxControlGrid::HeaderTexts() const {
    return {m_headerModel->headerData(0, Qt::Horizontal).toString(),
            m_headerModel->headerData(1, Qt::Horizontal).toString()};
}

void TkvxControlGrid::SetHeaderTexts(const QStringList &texts) {
    for (int i = 0; i < texts.size() && i < 2; ++i)
        m_headerModel->setHeaderData(i, Qt::Horizontal, texts[i]);
}

bool TkvxControlGrid::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_rowArea && event->type() == QEvent::Resize) {
        LayOutRows();
        AdjustColumns();
    }
    return QWidget::eventFilter(watched, event);
}

void TkvxControlGrid::LayOutRows() {
    const int rowHeight = m_rows.empty() ? 0 : m_rows.front()->height();
    const int width = m_rowArea->maximumViewportSize().width();
    m_rowBox->resize(width, rowHeight * RowCount());
    const int usable = ScrollBarShown() ? width - m_rowArea->verticalScrollBar()->sizeHint().width() : width;
    m_rowBox->resize(usable, m_rowBox->height());
    for (int i = 0; i < RowCount(); ++i)
        m_rows[size_t(i)]->setGeometry(0, i * rowHeight, usable, rowHeight);
}
