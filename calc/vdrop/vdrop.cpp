#include "calc/vdrop/vdrop.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "calc/common/data_failure.h"
#include "calc/common/results_log.h"
#include "numbers/numbers.h"

namespace voltaro::calc::vdrop {

namespace {

// The boxes a message can name, by the captions the panel gives them.
enum class Box { Volts, Amps, Length, PowerFactor, Limit };

enum class Fault {
    NotANumber,  // the box holds more (or less) than one plain number
    OutOfRange,  // volts, amps, length: above 0 and finite; power factor, limit: their ranges
};

std::string_view caption(Box box) {
    switch (box) {
        case Box::Volts:
            return "Volts";
        case Box::Amps:
            return "Amps";
        case Box::Length:
            return "Length";
        case Box::PowerFactor:
            return "Power Factor";
        case Box::Limit:
            return "Limit";
    }
    return "";
}

std::string_view example(Box box) {
    switch (box) {
        case Box::Volts:
            return "120";
        case Box::Amps:
            return "16";
        case Box::Length:
            return "100";
        case Box::PowerFactor:
            return "0.85";
        case Box::Limit:
            return "3";
    }
    return "";
}

bool inRange(Box box, double value) {
    switch (box) {
        case Box::PowerFactor:
            return value > 0 && value <= 1;
        case Box::Limit:
            return value > 0 && value < 100;
        default:
            return value > 0 && std::isfinite(value);
    }
}

// Every message of the calculator is made here and below; parts break with a lone CR, as the
// error window shows the other calculators' messages.
Failure refusal(Box box, Fault fault, double value = 0) {
    const std::string name(caption(box));
    if (fault == Fault::NotANumber)
        return {"Enter " + name + " As\rA Plain Number,\rFor Example " + std::string(example(box)) +
                "."};
    switch (box) {
        case Box::PowerFactor:
            return {"Power Factor Must Be\rAbove 0 And At Most 1."};
        case Box::Limit:
            return {"Limit Must Be Above\r0 And Below 100 %."};
        default:
            return {value > 0 ? name + " Too Large\rTo Compute." : name + " Must Be\rAbove 0."};
    }
}

Failure sizeNotListed(std::string_view size, Material material, System system) {
    return {"Size " + std::string(size) + " Is Not Listed\rFor " +
            std::string(materialName(material)) + " In\rChapter 9 Table " +
            (system == System::Dc ? "8." : "9.")};
}

const Failure kDropReachesSupply{"The Drop Reaches\rThe Supply Volts:\rUse A Larger Size."};

Failure unreadable(System system) {
    return dataFailure(std::string("Chapter 9 Table ") + (system == System::Dc ? "8" : "9") +
                       " cannot be read.");
}

// The notes under an answer, in lines that fit the printed page.
constexpr std::string_view kNoteAc[] = {
    "Ohms per 1000 ft: NEC Chapter 9, Table 9 (600 V cables, three single conductors in",
    "conduit, 75 C, 60 Hz); effective Z = R x PF + XL x sin(arccos PF).",
};
constexpr std::string_view kNoteDc[] = {
    "Ohms per 1000 ft: NEC Chapter 9, Table 8, DC resistance of the stranded conductor at 75 C.",
};
constexpr std::string_view kNoteLimits[] = {
    "The 1999 NEC recommends a drop of at most 3 % on a branch circuit or on a feeder, and 5 %",
    "on the two together: FPN No. 4 to 210-19(a) and FPN No. 2 to 215-2.",
};

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// printf's "%.2f", for a finite value of any size.
std::string twoDecimals(double value) {
    const int length = std::snprintf(nullptr, 0, "%.2f", value);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.2f", value);
    text.pop_back();
    return text;
}

// One size's ohms per 1000 ft in the chosen column(s).
struct Row {
    std::string size;
    double resistance = 0;
    double reactance = 0;
};

std::string resistanceColumn(const Inputs& in) {
    const bool copper = in.material == Material::Copper;
    if (in.system == System::Dc) return copper ? "r_dc_cu_uncoated" : "r_dc_al";
    static constexpr const char* kConduit[] = {"pvc", "al", "steel"};
    return std::string(copper ? "r_cu_" : "r_al_") + kConduit[static_cast<int>(in.conduit)];
}

// The rows of the system's table that list the material, smallest first. Table 8 lists 18 to
// 8 AWG twice, solid and then stranded: a run of wire is stranded, so only that row counts. An
// empty resistance cell (Table 9's dash for 14 AWG aluminum) leaves the size out.
std::variant<std::vector<Row>, Failure> rows(refdb::Database& db, const Inputs& in) {
    const bool dc = in.system == System::Dc;
    auto set = db.openRecordset(dc ? "SELECT * FROM Ch9Table8" : "SELECT * FROM Ch9Table9");
    if (!set) return unreadable(in.system);
    const std::string r = resistanceColumn(in);
    const char* x = in.conduit == Conduit::Steel ? "xl_steel" : "xl_pvc_al";
    std::vector<Row> out;
    for (set->moveFirst(); !set->eof(); set->moveNext()) {
        if (dc && set->field("strands").number() <= 1) continue;
        const auto resistance = set->field(r);
        if (resistance.isNull()) continue;
        Row row{set->field("size").text(), resistance.number(), dc ? 0.0 : set->field(x).number()};
        // A table the schema check let through but that holds no usable figure.
        if (row.size.empty() || !(row.resistance > 0) || !(row.reactance >= 0))
            return unreadable(in.system);
        out.push_back(std::move(row));
    }
    if (out.empty()) return unreadable(in.system);
    return out;
}

}  // namespace

std::string_view systemName(System system) {
    switch (system) {
        case System::Single:
            return "Single Phase";
        case System::Three:
            return "Three Phase";
        case System::Dc:
            return "DC";
    }
    return "";
}

std::string_view materialName(Material material) {
    return material == Material::Copper ? "Copper" : "Aluminum";
}

std::string_view conduitName(Conduit conduit) {
    switch (conduit) {
        case Conduit::Pvc:
            return "PVC";
        case Conduit::Aluminum:
            return "Aluminum";
        case Conduit::Steel:
            return "Steel";
    }
    return "";
}

std::variant<std::vector<std::string>, Failure> sizes(refdb::Database& db, System system,
                                                      Material material) {
    Inputs in;
    in.system = system;
    in.material = material;
    auto found = rows(db, in);
    if (auto* failure = std::get_if<Failure>(&found)) return *failure;
    std::vector<std::string> out;
    for (const auto& row : std::get<std::vector<Row>>(found)) out.push_back(row.size);
    return out;
}

Outcome calculateVoltageDrop(refdb::Database& db, const Inputs& in, Figures* figures) {
    const bool ac = in.system != System::Dc;
    // Each box in the order the panel shows them, so the first one to change is named.
    struct Reading {
        Box box;
        const std::string& text;
        double value = 0;
    };
    Reading volts{Box::Volts, in.volts}, amps{Box::Amps, in.amps}, length{Box::Length, in.length},
        pf{Box::PowerFactor, in.pf}, limit{Box::Limit, in.limit};
    for (Reading* box : {&volts, &amps, &length, &pf, &limit}) {
        if (box == &pf && !ac) continue;
        const auto value = numbers::readStrict(box->text);
        if (!value) return refusal(box->box, Fault::NotANumber);
        if (!inRange(box->box, *value)) return refusal(box->box, Fault::OutOfRange, *value);
        box->value = *value;
    }

    auto found = rows(db, in);
    if (auto* failure = std::get_if<Failure>(&found)) return *failure;
    const auto& table = std::get<std::vector<Row>>(found);
    const std::string_view size = trimmed(in.size);

    const double k = in.system == System::Three ? std::sqrt(3.0) : 2.0;
    const double sine = ac ? std::sqrt(1.0 - pf.value * pf.value) : 0.0;
    const auto impedance = [&](const Row& row) {
        return ac ? row.resistance * pf.value + row.reactance * sine : row.resistance;
    };
    // Volts, then percent of the supply, along the run. Too large for a double is infinite.
    const auto dropOf = [&](const Row& row) {
        return k * amps.value * length.value * impedance(row) / 1000.0;
    };

    const Row* chosen = nullptr;
    for (const auto& row : table) {
        if (row.size != size) continue;
        chosen = &row;
        break;
    }
    if (chosen == nullptr) return sizeNotListed(size, in.material, in.system);

    Figures f;
    f.resistance = chosen->resistance;
    f.reactance = chosen->reactance;
    f.impedance = impedance(*chosen);
    f.drop = dropOf(*chosen);
    if (!(f.drop < volts.value)) return kDropReachesSupply;
    f.percent = f.drop / volts.value * 100.0;
    // "At most" the limit: a percent that equals it but for the last bits of binary noise counts.
    for (const auto& row : table) {
        if (dropOf(row) / volts.value * 100.0 <= limit.value * (1 + 1e-12)) {
            f.smallest = row.size;
            break;
        }
    }

    const std::string limitText(trimmed(in.limit));
    Answer answer;
    answer.displayLines = {
        "Voltage Drop: " + twoDecimals(f.drop) + " V (" + twoDecimals(f.percent) + " %)",
        "At Load: " + twoDecimals(volts.value - f.drop) + " V",
        f.smallest.empty() ? "No Size Within " + limitText + " %"
                           : "Smallest For " + limitText + " %: " + f.smallest,
    };

    auto& log = answer.log = StartResultsLog("~ Calculate Voltage Drop ~");
    log.write("System: " + std::string(systemName(in.system)));
    log.write("Voltage: " + in.volts);
    log.write("Amps: " + in.amps);
    log.write("Length (ft, one way): " + in.length);
    log.write("Material: " + std::string(materialName(in.material)));
    log.write("Size: " + in.size);
    if (ac) {
        log.write("Conduit: " + std::string(conduitName(in.conduit)));
        log.write("Power Factor: " + in.pf);
    }
    log.write("Limit (%): " + in.limit);
    log.write("");
    log.write("Resistance (ohms/1000 ft): " + numbers::general(f.resistance));
    if (ac) {
        log.write("Reactance (ohms/1000 ft): " + numbers::general(f.reactance));
        log.write("Effective Z (ohms/1000 ft): " +
                  numbers::general(std::round(f.impedance * 1e4) / 1e4));
    }
    log.write("");
    for (const auto& line : answer.displayLines) log.write(line);
    log.write("");
    log.write("Notes:");
    const auto writeAll = [&log](const auto& lines) {
        for (const auto line : lines) log.write(line);
    };
    if (ac)
        writeAll(kNoteAc);
    else
        writeAll(kNoteDc);
    writeAll(kNoteLimits);

    if (figures != nullptr) *figures = f;
    return answer;
}

}  // namespace voltaro::calc::vdrop
