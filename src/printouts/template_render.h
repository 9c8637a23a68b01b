#pragma once
// A print template turned into the bands of a document report. The band
// markers among the data fields ("Separator", "Separator końcowy",
// "Stopka") cut the layout into up to four bands; each data field becomes
// an item whose text the document supplies when the band prints.
//
//   TemplateDocument    the four documents printed from templates
//   BandSplit           which elements go into which band, at which offset
//   splitBands          the cut by the markers
//   DataFieldValues     what a document supplies: the fields it knows, their values
//   TemplateBands       the built bands, ready to put into a report
//   buildTemplateBands  elements to items: texts, shapes, pictures, barcodes
//   footerLineBand      the child band under the page footer

#include "print_template.h"
#include "report.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <limits>
#include <optional>

namespace printouts {

enum class TemplateDocument { Letters, Statements, Invoices, Confirmations };

// The band a document receives from a template; the number is the column
// of the documents' band table (1 letters' title, 2 detail or document
// header, 3 summary or document footer, 4 page footer).
constexpr int bandCount = 4;

// A marker that is absent lies below everything.
constexpr int unbounded = std::numeric_limits<int>::max() / 4;

struct BandSplit {
    int separator = 0;         // S: letters only
    int endSeparator = unbounded;  // E
    int footer = unbounded;        // F
    std::array<bool, bandCount + 1> enabled{};      // by band number, [0] unused
    std::array<int, bandCount + 1> offset{};        // subtracted from an element's top
    std::array<QList<int>, bandCount + 1> elements; // element indexes, stacking order

    bool isEnabled(int band) const { return enabled.at(band); }
};

// Cuts the template by its markers (the first of each name counts). When
// "Separator końcowy" is absent but "Stopka" is present, the footer's top
// ends the document header, so the page footer still prints; "Stopka" is
// moved down to "Separator końcowy" only when both exist. Payment
// confirmations put every element into band 2 at its own place.
BandSplit splitBands(const PrintTemplate& layout, TemplateDocument document);

// What a document fills in: `knows` says whether it has a data field of the
// name (an unknown name creates no item), `value` gives its text for the
// row being printed. Called from the thread that runs the report.
struct DataFieldValues {
    std::function<bool(const QString& field)> knows;
    std::function<QString(const QString& field, const report::RunState& state)> value;
};

// Pictures of the template by OBRAZY.KOD (see template_pictures.h).
using TemplatePictures = QHash<int, QImage>;

struct TemplateBands {
    bool landscape = false;
    int columns = 1;
    // Disabled bands are empty.
    std::array<std::optional<report::Band>, bandCount + 1> bands;

    const std::optional<report::Band>& band(int number) const { return bands.at(number); }
};

// Builds every enabled band: shapes and pictures first (beneath), then the
// texts, each at (left, top - offset); a band is as high as its lowest item.
// Fixed texts print their content; data fields the document's value; the
// field "Kod kreskowy" prints Code 39 bars of its value with the value
// under them. Texts wrap at words inside their box and print transparent.
TemplateBands buildTemplateBands(const PrintTemplate& layout, TemplateDocument document,
                                 const DataFieldValues& fields, const TemplatePictures& pictures = {});

// The items of one element as placed in a band `offset` pixels down the
// layout; none for a marker or a field the document does not know.
QList<report::Item> elementItems(const TemplateElement& element, int offset, const DataFieldValues& fields,
                                 const TemplatePictures& pictures);

// Band `number` of the template as a band of `kind`; an empty band of no
// height when the template has it disabled.
report::Band templateBand(const TemplateBands& bands, int number, report::BandKind kind);
// A band of `kind` holding one item drawn by the printout itself.
report::Band preparedBand(report::BandKind kind, report::Item item);

// The footer line, right-aligned in Arial 8 pt across `width`.
report::Band footerLineBand(const QString& footerLine, double width);

}  // namespace printouts
