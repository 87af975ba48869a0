#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

class QIODevice;

#include <pugixml.hpp>

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

// Typed, read-only access to an exchange document parsed into a DOM. Every
// row and table refers into the document of the TXMLVandorDBType it came
// from, which must outlive them.
//
// Reads of a row's child elements take the first child of that name and
// convert as vdrImportValue does (the TSV import converts alike). A missing
// text element reads as empty; an integer, date or currency element that is
// missing, empty or does not convert, and a text longer than a table row may
// hold, raise EvdrError naming the file, the element, the row (its position
// in the table, from 0, like the export's Nbr) and the line.

// What a row needs to word its errors. The document is parsed in place, so
// its bytes as read are only read again for the line of an error.
struct TXMLSource {
    QString FileName;
    // The bytes again; empty when they cannot be read again.
    std::function<QByteArray()> ReadAgain;
    bool LinesKnown = false;

    // 0 when unknown.
    int LineAt(ptrdiff_t offset) const;
};

class TXMLRowBase {
public:
    TXMLRowBase(const TXMLSource *source, pugi::xml_node node, int index)
        : m_source(source), m_node(node), m_index(index) {}

    // Raises, naming the row, unless a table row can hold texts of these
    // lengths together.
    void CheckRowTexts(std::initializer_list<qsizetype> lengths) const;

protected:
    QString Text(const char *name) const;
    qint32 Integer(const char *name) const;
    QDate Date(const char *name) const;
    double Currency(const char *name) const;

private:
    // The element's text; nullopt when the row has no such element.
    std::optional<QString> ElementText(const char *name) const;
    // The element's UTF-8 text as parsed; null without the element.
    const char *RawText(const char *name) const;
    // Runs `convert`, adding the file, the element and the row to its error.
    template <class T> T Converted(const char *name, T (*convert)(const std::optional<QString> &)) const;
    // `name` empty: the row itself.
    [[noreturn]] void Fail(const char *name, const QString &problem) const;

    const TXMLSource *m_source;
    pugi::xml_node m_node;
    int m_index;
};

// The rows of one table element: its child elements named like the row
// element, in document order, collected once. A missing table element
// has no rows.
template <class TRow> class TXMLTblType {
public:
    TXMLTblType(const TXMLSource *source, pugi::xml_node table) : m_source(source) {
        for (pugi::xml_node row : table.children(TRow::kElement))
            m_rows.push_back(row);
    }

    int Count() const { return int(m_rows.size()); }
    // `index` from 0 to Count() - 1.
    TRow Row(int index) const { return TRow(m_source, m_rows[size_t(index)], index); }

private:
    const TXMLSource *m_source;
    std::vector<pugi::xml_node> m_rows;
};

class TXMLCarsRow : public TXMLRowBase {
public:
    static constexpr const char *kElement = "CarsRow";
    using TXMLRowBase::TXMLRowBase;
    qint32 CarNbr() const { return Integer("CarNbr"); }
    qint32 Year() const { return Integer("Year"); }
    QString Make() const { return Text("Make"); }
    QString Model() const { return Text("Model"); }
    QString PictureExtension() const { return Text("PictureExtension"); }
};

class TXMLUDFRow : public TXMLRowBase {
public:
    static constexpr const char *kElement = "UDFRow";
    using TXMLRowBase::TXMLRowBase;
    qint32 UdfNbr() const { return Integer("UdfNbr"); }
    qint32 SortOrder() const { return Integer("SortOrder"); }
    QString Name() const { return Text("Name"); }
};

class TXMLCarsUDFRow : public TXMLRowBase {
public:
    static constexpr const char *kElement = "CarsUDFRow";
    using TXMLRowBase::TXMLRowBase;
    qint32 CarNbr() const { return Integer("CarNbr"); }
    qint32 UdfNbr() const { return Integer("UdfNbr"); }
    QString Value() const { return Text("Value"); }
};

class TXMLRepairsRow : public TXMLRowBase {
public:
    static constexpr const char *kElement = "RepairsRow";
    using TXMLRowBase::TXMLRowBase;
    qint32 RepairNbr() const { return Integer("RepairNbr"); }
    QString Description() const { return Text("Description"); }
};

class TXMLMaintRow : public TXMLRowBase {
public:
    static constexpr const char *kElement = "MaintRow";
    using TXMLRowBase::TXMLRowBase;
    qint32 CarNbr() const { return Integer("CarNbr"); }
    qint32 MaintNbr() const { return Integer("MaintNbr"); }
    QDate Date() const { return TXMLRowBase::Date("Date"); }
    qint32 Mileage() const { return Integer("Mileage"); }
    double Cost() const { return Currency("Cost"); }
};

class TXMLMaintRepairsRow : public TXMLRowBase {
public:
    static constexpr const char *kElement = "MaintRepairsRow";
    using TXMLRowBase::TXMLRowBase;
    qint32 CarNbr() const { return Integer("CarNbr"); }
    qint32 MaintNbr() const { return Integer("MaintNbr"); }
    qint32 RepairNbr() const { return Integer("RepairNbr"); }
};

class TXMLMaintNotesRow : public TXMLRowBase {
public:
    static constexpr const char *kElement = "MaintNotesRow";
    using TXMLRowBase::TXMLRowBase;
    qint32 CarNbr() const { return Integer("CarNbr"); }
    qint32 MaintNbr() const { return Integer("MaintNbr"); }
    QString Note() const { return Text("Note"); }
};

class TXMLSortOrderRow : public TXMLRowBase {
public:
    static constexpr const char *kElement = "SortOrderRow";
    using TXMLRowBase::TXMLRowBase;
    QString SortOrderName() const { return Text("SortOrderName"); }
    qint32 SortOrderNbr() const { return Integer("SortOrderNbr"); }
    // Fields joined by TAB, as stored.
    QString SortOrderFields() const { return Text("SortOrderFields"); }
};

using TXMLCarsTblType = TXMLTblType<TXMLCarsRow>;
using TXMLUDFTblType = TXMLTblType<TXMLUDFRow>;
using TXMLCarsUDFTblType = TXMLTblType<TXMLCarsUDFRow>;
using TXMLRepairsTblType = TXMLTblType<TXMLRepairsRow>;
using TXMLMaintTblType = TXMLTblType<TXMLMaintRow>;
using TXMLMaintRepairsTblType = TXMLTblType<TXMLMaintRepairsRow>;
using TXMLMaintNotesTblType = TXMLTblType<TXMLMaintNotesRow>;
using TXMLSortOrderTblType = TXMLTblType<TXMLSortOrderRow>;

// The document element and its eight tables. Owns the parsed document.
class TXMLVandorDBType {
public:
    const TXMLCarsTblType &Cars() const { return m_cars; }
    const TXMLUDFTblType &UDF() const { return m_udf; }
    const TXMLCarsUDFTblType &CarsUDF() const { return m_carsUdf; }
    const TXMLRepairsTblType &Repairs() const { return m_repairs; }
    const TXMLMaintTblType &Maint() const { return m_maint; }
    const TXMLMaintRepairsTblType &MaintRepairs() const { return m_maintRepairs; }
    const TXMLMaintNotesTblType &MaintNotes() const { return m_maintNotes; }
    const TXMLSortOrderTblType &SortOrder() const { return m_sortOrder; }

private:
    friend std::unique_ptr<TXMLVandorDBType> LoadDocument(QIODevice &device, const QString &name,
                                                          std::function<QByteArray()> readAgain);
    TXMLVandorDBType(std::unique_ptr<TXMLSource> source, std::unique_ptr<pugi::xml_document> document);

    std::unique_ptr<TXMLSource> m_source;
    std::unique_ptr<pugi::xml_document> m_document;
    TXMLCarsTblType m_cars;
    TXMLUDFTblType m_udf;
    TXMLCarsUDFTblType m_carsUdf;
    TXMLRepairsTblType m_repairs;
    TXMLMaintTblType m_maint;
    TXMLMaintRepairsTblType m_maintRepairs;
    TXMLMaintNotesTblType m_maintNotes;
    TXMLSortOrderTblType m_sortOrder;
};

// Parses the file (no DTD, nothing fetched). Raises EvdrError naming the
// file when it is no regular file, cannot be read, is not well-formed or its
// document element is not <Vandor_Database>.
std::unique_ptr<TXMLVandorDBType> LoadDocument(const QString &fileName);
// The same for the document that `device` holds from where it stands,
// named `name` in errors. Lines are named in errors when `readAgain` gives
// the bytes once more.
std::unique_ptr<TXMLVandorDBType> LoadDocument(QIODevice &device, const QString &name,
                                               std::function<QByteArray()> readAgain = {});
