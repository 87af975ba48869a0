#pragma once

#include <QStringList>
#include <QWidget>

#include <memory>
#include <vector>

class QComboBox;
class QHeaderView;
class QScrollArea;
class QStandardItemModel;

// The value behind an entry of a grid's field list: a sort order field's
// FieldNbr and FieldKind (0 built-in, 1 user-defined).
struct TkvxSelectionRec {
    qint32 FieldNbr = 0;
    qint32 FieldKind = 0;
};

// A string list whose entries may each own a TkvxSelectionRec; the objects
// live as long as the list (or until Clear).
class TkvxSelectionList {
public:
    void Add(const QString &text, std::unique_ptr<TkvxSelectionRec> object = nullptr);
    void Clear();
    int Count() const { return int(m_entries.size()); }
    QString Strings(int index) const;
    // Null when out of range or when the entry owns no object.
    TkvxSelectionRec *Objects(int index) const;

private:
    struct TEntry {
        QString Text;
        std::unique_ptr<TkvxSelectionRec> Object;
    };
    std::vector<TEntry> m_entries;
};

// One row of a TkvxControlGrid: a field list at the left and a direction
// list beside it. The lists reach one pixel past the row at top and bottom,
// so the rows' frames meet as one grid line.
class TkvxControlRow : public QWidget {
public:
    static constexpr int FieldWidth = 195;
    static constexpr int DirectionLeft = 196;
    static constexpr int DirectionWidth = 196;

    explicit TkvxControlRow(QWidget *parent = nullptr);

    QComboBox *FieldCombo() const { return m_field; }
    QComboBox *DirectionCombo() const { return m_direction; }

private:
    QComboBox *m_field;
    QComboBox *m_direction;
};

// A scrolling list of rows under a fixed two-section header ("Field name",
// "Sort direction"), for editing the fields of a sort order. The rows are
// owned by the grid; a row's field choice is an index into ListFields.
class TkvxControlGrid : public QWidget {
    Q_OBJECT

public:
    static constexpr int SectionWidth = 198;

    explicit TkvxControlGrid(QWidget *parent = nullptr);
    ~TkvxControlGrid() override;

    // A new row below the others with both lists filled from ListFields and
    // ListDirections, nothing chosen, scrolled into view.
    TkvxControlRow *AddRow();
    int RowCount() const { return int(m_rows.size()); }
    // Null when out of range.
    TkvxControlRow *Row(int index) const;
    // The row one of whose lists is `control`; null when none.
    TkvxControlRow *RowOf(const QWidget *control) const;
    int IndexOfRow(const TkvxControlRow *row) const;
    // The last row always stays: nothing happens while fewer than 2 rows.
    void DeleteRow(TkvxControlRow *row);
    // Widens the direction column (header section and every row's list) to
    // the width the rows can use beside the vertical scroll bar.
    virtual void AdjustColumns();

    TkvxSelectionList &ListFields() { return m_listFields; }
    const TkvxSelectionList &ListFields() const { return m_listFields; }
    QStringList &ListDirections() { return m_listDirections; }
    const QStringList &ListDirections() const { return m_listDirections; }

    // The header's captions (the language table's "Columns").
    QStringList HeaderTexts() const;
    void SetHeaderTexts(const QStringList &texts);
    QHeaderView *Header() const { return m_header; }
    QScrollArea *RowArea() const { return m_rowArea; }
    bool ScrollBarShown() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void LayOutRows();

    QHeaderView *m_header;
    QStandardItemModel *m_headerModel;
    QScrollArea *m_rowArea;
    QWidget *m_rowBox;
    std::vector<TkvxControlRow *> m_rows; // children of m_rowBox
    int m_directionWidth = TkvxControlRow::DirectionWidth;
    TkvxSelectionList m_listFields;
    QStringList m_listDirections;
};
