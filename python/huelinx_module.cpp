// The Python module huelinx: the colour core's conversions over many colours
// in one call, on NumPy arrays, lists or single values, with the settings of
// the main window. A colour that can't be converted never raises: its numbers
// are NaN and its status says why. Only arguments that are not colours at all
// (an unknown illuminant, an array whose last axis isn't 3) raise ValueError;
// memory that runs out raises MemoryError.
#include "colour/chip_set.h"
#include "colour/colour_model.h"
#include "colour/colour_naming.h"
#include "colour/data_files.h"
#include "colour/illuminant.h"
#include "colour/iscc_nbs.h"
#include "colour/macadam_limits.h"
#include "colour/muntable.h"
#include "photo/photo_regions.h"
#include "python/batch.h"
#include "python/module_arrays.h"
#include "python/module_reflectance.h"
#include "session/resources.h"
#include "text/number_format.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <dlfcn.h>

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>

namespace py = pybind11;
using namespace huelinx;
using batch::Status;

namespace {

// ---- errors ------------------------------------------------------------------

// A message that may hold any bytes (a file's name or line) as UTF-8: what
// isn't UTF-8 shows as U+FFFD, so the message always reaches the user.
std::string readable(const std::string& message) {
    const auto text = py::reinterpret_steal<py::str>(
        PyUnicode_DecodeUTF8(message.data(), static_cast<py::ssize_t>(message.size()), "replace"));
    if (!text) throw py::error_already_set();
    return py::cast<std::string>(text);
}

// ---- data: the Munsell table, the names and the chip sets ---------------------

struct Data {
    // HUELINX_DATA, then beside the module; the module never reads the
    // working folder.
    explicit Data(const std::vector<std::string>& folders, const std::string& programFolder)
        : resources(Resources::inFolders(folders, programFolder)) {}
    Resources resources;
    const MunTable& table = resources.table();
    const IsccNbsTable& names = resources.names();
    std::string namesProblem;
    std::mutex chipsLock; // a chip search fills its index on first use
    // The chip sets read so far, by name; looked up under the interpreter lock.
    std::map<std::string, std::unique_ptr<ChipSearch>> chips;
    // The soil comparers by illuminant and PWD; used under chipsLock.
    std::map<std::pair<Illuminant, bool>, std::unique_ptr<SoilComparer>> soil;
};

// The folder of this module's file: the build puts data/ beside python/.
std::string moduleFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&moduleFolder), &info) == 0 || !info.dli_fname) return ".";
    return std::filesystem::path(info.dli_fname).parent_path().string();
}

Data& data() {
    static Data* loaded = [] {
        std::vector<std::string> folders;
        if (const char* env = std::getenv("HUELINX_DATA")) folders.push_back(env);
        folders.push_back((std::filesystem::path(moduleFolder()) / ".." / "data").string());
        folders.push_back((std::filesystem::path(moduleFolder()) / "data").string());
        // pip puts the data beside the module under a name no other package takes.
        folders.push_back((std::filesystem::path(moduleFolder()) / "huelinx-data").string());
        // Installed: the data folder at its place in the install layout.
        folders.push_back((std::filesystem::path(moduleFolder()) / HUELINX_DATA_FROM_MODULE)
                              .lexically_normal()
                              .string());
        auto* d = new Data(folders, moduleFolder());
        Result table{false, "Vadoro.dat is in no data folder (set HUELINX_DATA)"};
        if (d->resources.locate(munsellTableFile).found) table = d->resources.loadTable();
        if (!table.ok) throw std::runtime_error("huelinx: " + table.message);
        const Result names = d->resources.loadNames();
        if (!names.ok) d->namesProblem = names.message;
        // The MacAdam fields are left out when the spectral tables can't be read.
        (void)d->resources.loadSpectra();
        return d;
    }();
    return *loaded;
}

// The data files the module reads, by name: the path used, or None. The
// module never reads the working folder: HUELINX_DATA, then beside it.
py::dict dataFiles() {
    py::dict files;
    for (const DataFile& file : data().resources.filesInUse())
        files[py::str(file.name)] =
            file.found ? py::object(py::str(shownPath(file.path))) : py::object(py::none());
    return files;
}

ChipSearch& chipSet(const std::string& name) {
    Data& d = data();
    auto found = d.chips.find(name);
    if (found != d.chips.end()) return *found->second;
    Loaded<ChipSet> load = loadChipSet(name, d.resources.chipPlaces(), d.table);
    if (!load.value) throw py::value_error(readable(load.message));
    auto search = std::make_unique<ChipSearch>(std::move(*load.value), d.table);
    return *d.chips.emplace(name, std::move(search)).first->second;
}

// ---- settings ----------------------------------------------------------------

// The settings of the window after start-up with these choices made, and the table.
batch::Window windowOf(const std::string& illuminant, bool pwd, double gamma, int whiteBalance) {
    const auto ill = illuminantNamed(illuminant);
    if (!ill) throw py::value_error("illuminant must be \"C\", \"D50\" or \"D65\"");
    if (!(gamma >= 1.0 && gamma <= 3.0)) throw py::value_error("gamma must be from 1 to 3");
    if (whiteBalance < 50 || whiteBalance > 100)
        throw py::value_error("white_balance must be from 50 to 100");
    return {startedSettings(*ill, pwd, whiteBalance, plainText(gamma)), data().table};
}

#define HUELINX_SETTINGS_ARGS                                                                      \
    py::kw_only(), py::arg("illuminant") = "C", py::arg("pwd") = false, py::arg("gamma") = 2.2,    \
                   py::arg("white_balance") = 100

using namespace huelinx::pyarrays;

// ---- the functions -------------------------------------------------------------

// The MacAdam fields of colours whose X, Y, Z (under the window's settings)
// are the triples at `xyz`: macadam, True within the limits, and
// macadam_excess, the excess over the object-colour solid (below 0 inside;
// False and NaN for a colour without X, Y, Z). None when the spectral tables
// could not be read.
void addMacAdam(py::dict& out, const Shape& shape, const double* xyz, std::size_t n,
                const ColourSettings& settings) {
    const MacAdamSolids* solids = data().resources.macAdamSolids();
    if (!solids) return;
    py::array_t<bool> within(shape);
    auto excess = doubles(shape);
    {
        py::gil_scoped_release free;
        bool* w = within.mutable_data();
        double* e = excess.mutable_data();
        for (std::size_t i = 0; i < n; ++i) {
            const auto check =
                macAdamOfXyz(xyz[3 * i], xyz[3 * i + 1], xyz[3 * i + 2], settings, *solids);
            w[i] = check && check->within;
            e[i] = check ? check->excess : std::nan("");
        }
    }
    out["macadam"] = within;
    out["macadam_excess"] = excess;
}

py::dict munsellToXyz(py::handle notations, const std::string& illuminant, bool pwd, double gamma,
                      int whiteBalance) {
    const batch::Window window = windowOf(illuminant, pwd, gamma, whiteBalance);
    const NotationInput in = notationInput(notations);
    auto xyz = doubles(with(in.shape, 3));
    auto xy = doubles(with(in.shape, 2));
    std::vector<Status> status(in.count);
    {
        py::gil_scoped_release free;
        double *X = xyz.mutable_data(), *x = xy.mutable_data();
        eachPart(in, [&](const batch::Notations& part, std::size_t first) {
            batch::munsellToXyz(part, window.table, window.settings, X + 3 * first, x + 2 * first,
                                status.data() + first);
        });
    }
    py::dict out;
    const py::ellipsis all;
    out["X"] = xyz[py::make_tuple(all, 0)];
    out["Y"] = xyz[py::make_tuple(all, 1)];
    out["Z"] = xyz[py::make_tuple(all, 2)];
    out["x"] = xy[py::make_tuple(all, 0)];
    out["y"] = xy[py::make_tuple(all, 1)];
    out["status"] = statusArray(in.shape, status);
    addMacAdam(out, in.shape, xyz.data(), in.count, window.settings);
    return out;
}

// The Munsell notations of X, Y, Z; `given` (if any) holds the statuses of
// colours that became NaN before (x, y, Y that can't be entered).
py::dict munsellOfXyz(const Triples& t, const batch::Window& window,
                      const std::vector<Status>* given = nullptr) {
    const std::size_t n = t.count;
    auto hvc = doubles(with(t.shape, 3));
    std::vector<Status> status(n);
    batch::Texts notation(n, 24);
    {
        py::gil_scoped_release free;
        batch::xyzToMunsell(t.values.data(), n, window, hvc.mutable_data(), notation,
                            status.data());
    }
    if (given)
        for (std::size_t i = 0; i < n; ++i)
            if ((*given)[i] != Status::Ok) status[i] = (*given)[i];
    py::dict out;
    const py::ellipsis all;
    out["hue"] = hvc[py::make_tuple(all, 0)];
    out["value"] = hvc[py::make_tuple(all, 1)];
    out["chroma"] = hvc[py::make_tuple(all, 2)];
    out["notation"] = textArray(t.shape, notation, n);
    out["status"] = statusArray(t.shape, status);
    return out;
}

py::dict xyzToMunsell(py::handle xyz, const std::string& illuminant, bool pwd, double gamma,
                      int whiteBalance) {
    const batch::Window window = windowOf(illuminant, pwd, gamma, whiteBalance);
    return munsellOfXyz(triples(xyz, "xyz"), window);
}

py::dict xyyToMunsell(py::handle xyy, const std::string& illuminant, bool pwd, double gamma,
                      int whiteBalance) {
    const batch::Window window = windowOf(illuminant, pwd, gamma, whiteBalance);
    Triples t = triples(xyy, "xyy");
    Doubles xyz(with(t.shape, 3));
    std::vector<Status> status(t.count);
    {
        py::gil_scoped_release free;
        batch::xyyToXyz(t.values.data(), t.count, window, xyz.mutable_data(), status.data());
    }
    t.values = xyz;
    return munsellOfXyz(t, window, &status);
}

// The shape of the pointwise conversions: three numbers in, three out.
using Pointwise = void (*)(const double*, std::size_t, const batch::Window&, double*, Status*);

py::dict pointwise(Pointwise convert, py::handle values, const char* what,
                   const char* const names[3], const std::string& illuminant, bool pwd,
                   double gamma, int whiteBalance) {
    const batch::Window window = windowOf(illuminant, pwd, gamma, whiteBalance);
    const Triples t = triples(values, what);
    auto out = doubles(with(t.shape, 3));
    std::vector<Status> status(t.count);
    {
        py::gil_scoped_release free;
        convert(t.values.data(), t.count, window, out.mutable_data(), status.data());
    }
    py::dict result;
    const py::ellipsis all;
    for (int i = 0; i < 3; ++i)
        result[names[i]] = out[py::make_tuple(all, i)];
    result["status"] = statusArray(t.shape, status);
    if (std::string_view(names[0]) == "X")
        addMacAdam(result, t.shape, out.data(), t.count, window.settings);
    return result;
}

// A pointwise conversion as a module function of one argument named `arg`
// and the window's settings.
void definePointwise(py::module_& m, const char* name, Pointwise convert, const char* arg,
                     const char* const names[3], const char* doc) {
    m.def(
        name,
        [convert, arg, names](py::handle v, const std::string& i, bool p, double g, int w) {
            return pointwise(convert, v, arg, names, i, p, g, w);
        },
        py::arg(arg), HUELINX_SETTINGS_ARGS, doc);
}

// A text array of one field of each name found ("" where none), as wide
// as the longest; a name file's text that isn't ASCII is read as UTF-8.
py::array textsOf(const Shape& shape, const IsccNbsTable& table,
                  const std::vector<const IsccNbsName*>& found, std::string IsccNbsName::*field) {
    const std::vector<IsccNbsName>& names = table.names();
    std::vector<std::string_view> texts;
    bool ascii = true;
    for (const IsccNbsName& name : names) {
        texts.push_back(name.*field);
        ascii = ascii && std::all_of(texts.back().begin(), texts.back().end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 128; });
    }
    texts.push_back({}); // no name
    if (!ascii) {
        std::vector<std::string> all(found.size());
        for (std::size_t i = 0; i < found.size(); ++i)
            if (found[i]) all[i] = found[i]->*field;
        return objectArray(shape, all).attr("astype")("str");
    }
    return kindArray(shape, found.size(), texts, [&](std::size_t i) {
        return found[i] ? static_cast<std::size_t>(found[i] - names.data()) : names.size();
    });
}

py::dict isccNbsName(py::handle notations) {
    Data& d = data();
    if (d.names.empty()) throw std::runtime_error(readable("huelinx: " + d.namesProblem));
    const NotationInput in = notationInput(notations);
    std::vector<const IsccNbsName*> found(in.count);
    std::vector<Status> status(in.count);
    {
        py::gil_scoped_release free;
        eachPart(in, [&](const batch::Notations& part, std::size_t first) {
            batch::isccNbsNames(part, d.names, found.data() + first, status.data() + first);
        });
    }
    py::dict out;
    out["name"] = textsOf(in.shape, d.names, found, &IsccNbsName::name);
    out["abbreviation"] = textsOf(in.shape, d.names, found, &IsccNbsName::abbreviation);
    out["status"] = statusArray(in.shape, status);
    return out;
}

py::dict nearestChip(py::handle colours, const std::string& chipset, const std::string& illuminant,
                     bool pwd, double gamma, int whiteBalance) {
    const batch::Window window = windowOf(illuminant, pwd, gamma, whiteBalance);
    const ColourSettings& settings = window.settings;
    Data& d = data();
    // The set is looked up (and read the first time) under the interpreter
    // lock; its search runs without it, one call at a time, since a search
    // fills its index on first use. The lock is taken only once the
    // interpreter's is let go, so two threads can't wait for each other.
    ChipSearch& chips = chipSet(chipset);
    batch::ChipResults results;
    Shape shape;
    if (isText(colours) || holdsText(colours)) {
        const NotationInput in = notationInput(colours);
        shape = in.shape;
        py::gil_scoped_release free;
        std::lock_guard<std::mutex> lock(d.chipsLock);
        batch::nearestChips(in.notations, chips, settings, results);
    } else {
        const Triples t = triples(colours, "xyz");
        shape = t.shape;
        py::gil_scoped_release free;
        std::lock_guard<std::mutex> lock(d.chipsLock);
        batch::nearestChipsOfXyz(t.values.data(), t.count, window, chips, results);
    }
    auto de = doubles(shape);
    auto steps = doubles(with(shape, 3));
    std::copy(results.de00.begin(), results.de00.end(), de.mutable_data());
    std::copy(results.steps.begin(), results.steps.end(), steps.mutable_data());
    py::dict out;
    const py::ellipsis all;
    out["chip"] = objectArray(shape, results.chip);
    out["label"] = objectArray(shape, results.label);
    out["dE00"] = de;
    out["dH"] = steps[py::make_tuple(all, 0)];
    out["dV"] = steps[py::make_tuple(all, 1)];
    out["dC"] = steps[py::make_tuple(all, 2)];
    out["status"] = statusArray(shape, results.status);
    return out;
}

// The notations of an input, those given as numbers read in too.
batch::Notations allNotations(const NotationInput& in) {
    if (!in.numbers) return in.notations;
    batch::Notations all;
    all.resize(in.count);
    for (std::size_t i = 0; i < in.count; ++i)
        batch::readTriple(in.numbers->values.data() + 3 * i, all, i);
    return all;
}

// The shape of pairs: both inputs' shape, or the other's for a single notation.
Shape pairShape(const NotationInput& a, const NotationInput& b) {
    if (a.shape == b.shape) return a.shape;
    if (a.shape.empty()) return b.shape;
    if (b.shape.empty()) return a.shape;
    throw py::value_error("the two inputs must have the same shape, or one be a single notation");
}

py::array boolArray(const Shape& shape, const std::uint8_t* flags, std::size_t stride) {
    py::array_t<bool> out(shape);
    for (py::ssize_t i = 0; i < out.size(); ++i)
        out.mutable_data()[i] = flags[static_cast<std::size_t>(i) * stride] != 0;
    return out;
}

py::dict contrastClass(py::handle a, py::handle b, const std::string& illuminant, bool pwd,
                       double gamma, int whiteBalance) {
    const batch::Window window = windowOf(illuminant, pwd, gamma, whiteBalance);
    const NotationInput inA = notationInput(a), inB = notationInput(b);
    const Shape shape = pairShape(inA, inB);
    const batch::Notations na = allNotations(inA), nb = allNotations(inB);
    Data& d = data();
    auto& soil = d.soil[{window.settings.illuminant, window.settings.pwd}];
    if (!soil) soil = std::make_unique<SoilComparer>(d.table, window.settings);
    batch::ContrastResults r;
    {
        py::gil_scoped_release free;
        std::lock_guard<std::mutex> lock(d.chipsLock);
        batch::contrastClasses(na, nb, *soil, r);
    }
    const std::size_t n = r.status.size();
    std::vector<std::string> chips[2];
    for (std::size_t i = 0; i < n; ++i)
        chips[0].push_back(r.chip[2 * i]), chips[1].push_back(r.chip[2 * i + 1]);
    auto de = doubles(shape);
    auto steps = doubles(with(shape, 3));
    std::copy(r.de00.begin(), r.de00.end(), de.mutable_data());
    std::copy(r.steps.begin(), r.steps.end(), steps.mutable_data());
    const py::ellipsis all;
    py::dict out;
    out["class"] = kindArray(shape, n, {"Faint", "Distinct", "Prominent", ""}, [&](std::size_t i) {
        return r.status[i] == Status::Ok ? static_cast<std::size_t>(r.contrast[i]) : 3;
    });
    out["dE00"] = de;
    out["dH"] = steps[py::make_tuple(all, 0)];
    out["dV"] = steps[py::make_tuple(all, 1)];
    out["dC"] = steps[py::make_tuple(all, 2)];
    out["chip1"] = objectArray(shape, chips[0]);
    out["chip2"] = objectArray(shape, chips[1]);
    out["taken1"] = boolArray(shape, r.taken.data(), 2);
    out["taken2"] = boolArray(shape, r.taken.data() + 1, 2);
    out["status"] = statusArray(shape, r.status);
    return out;
}

py::dict soilChecks(py::handle moist, py::handle dry) {
    const NotationInput inM = notationInput(moist), inD = notationInput(dry);
    const Shape shape = pairShape(inM, inD);
    const batch::Notations nm = allNotations(inM), nd = allNotations(inD);
    const std::size_t n = nm.size() == 1 ? nd.size() : nm.size();
    std::vector<std::uint8_t> mollic(n), chernic(n);
    std::vector<Status> status(n);
    batch::soilChecks(nm, nd, mollic.data(), chernic.data(), status.data());
    py::dict out;
    out["mollic_colour"] = boolArray(shape, mollic.data(), 1);
    out["chernic_colour"] = boolArray(shape, chernic.data(), 1);
    out["status"] = statusArray(shape, status);
    return out;
}

py::array_t<double> deltaE2000(py::handle lab1, py::handle lab2, double kL, double kC, double kH) {
    const Triples a = triples(lab1, "lab1"), b = triples(lab2, "lab2");
    // Same shapes, or one colour against many.
    const bool oneB = b.shape.empty(), oneA = a.shape.empty();
    if (!(a.shape == b.shape || oneA || oneB))
        throw py::value_error("lab1 and lab2 must have the same shape, or one be one colour");
    const Triples& many = oneA && !oneB ? b : a;
    const Triples& other = oneA && !oneB ? a : b;
    auto de = doubles(many.shape);
    {
        py::gil_scoped_release free;
        batch::deltaE2000(many.values.data(), other.values.data(), many.count,
                          other.shape.empty() ? 0 : 3, {kL, kC, kH}, de.mutable_data());
    }
    return de;
}

// ---- photographs ---------------------------------------------------------------

// The picture of an image (height, width, 3) of uint8 or uint16: 8-bit
// values times 257, as the picture files are read.
photo::Picture pictureOf(py::handle image) {
    if (!py::isinstance<py::array>(image)) throw py::value_error("image must be a NumPy array");
    const auto given = py::reinterpret_borrow<py::array>(image);
    const bool eight = given.dtype().is(py::dtype::of<std::uint8_t>());
    if (!eight && !given.dtype().is(py::dtype::of<std::uint16_t>()))
        throw py::value_error("image must be uint8 or uint16");
    if (given.ndim() != 3 || given.shape(2) != 3 || given.shape(0) < 1 || given.shape(1) < 1)
        throw py::value_error("image must have shape (height, width, 3)");
    if (static_cast<std::uint64_t>(given.shape(0)) * static_cast<std::uint64_t>(given.shape(1)) >
        photo::defaultPixelLimit)
        throw py::value_error("image has more pixels than a picture may have (100,000,000)");
    photo::Picture picture{
        static_cast<int>(given.shape(1)), static_cast<int>(given.shape(0)), eight ? 8 : 16, {}};
    picture.samples.resize(static_cast<std::size_t>(given.size()));
    if (eight) {
        const auto values = py::array_t<std::uint8_t, py::array::c_style>::ensure(image);
        std::transform(values.data(), values.data() + values.size(), picture.samples.begin(),
                       [](std::uint8_t v) { return static_cast<std::uint16_t>(v * 257); });
    } else {
        const auto values = py::array_t<std::uint16_t, py::array::c_style>::ensure(image);
        std::copy(values.data(), values.data() + values.size(), picture.samples.begin());
    }
    return picture;
}

// The reading's setup from the arguments; ValueError for what can't be used.
photo::PhotoSetup photoSetup(py::handle chart, const std::string& fit, bool linear,
                             py::handle reference) {
    const Doubles corners = numbers(chart, "chart");
    if (corners.size() != 8)
        throw py::value_error("chart must be 8 numbers: the centres of the top-left, top-right, "
                              "bottom-right and bottom-left patches (x, y each)");
    const double* c = corners.data();
    photo::PhotoSetup setup;
    setup.corners = {{c[0], c[1]}, {c[2], c[3]}, {c[4], c[5]}, {c[6], c[7]}};
    const auto kind = photo::fitNamed(fit);
    if (!kind) throw py::value_error("fit must be \"3x3\" or \"rootpoly2\"");
    setup.fit = *kind;
    setup.encoding = linear ? photo::Encoding::Linear : photo::Encoding::Srgb;
    if (!reference.is_none()) {
        const Doubles card = numbers(reference, "reference");
        if (card.size() != 4)
            throw py::value_error("reference must be 4 numbers: x, y, radius and Y");
        setup.reference =
            photo::GreyCardAt{{card.data()[0], card.data()[1]}, card.data()[2], card.data()[3]};
    }
    return setup;
}

// Regions (n, 4) of x, y, width, height in pixels; a number that isn't a
// whole number of pixels makes that region one that can't be read.
std::vector<std::optional<photo::Region>> photoRegionList(py::handle regions) {
    const Doubles values = numbers(regions, "regions");
    if (!(values.ndim() == 2 && values.shape(1) == 4) &&
        !(values.ndim() == 1 && values.size() == 0))
        throw py::value_error("regions must have 4 numbers a region (shape (n, 4)): x, y, width, "
                              "height");
    std::vector<std::optional<photo::Region>> out(static_cast<std::size_t>(values.size() / 4));
    const double* v = values.data();
    for (std::size_t i = 0; i < out.size(); ++i, v += 4)
        if (std::all_of(v, v + 4,
                        [](double n) { return n == std::floor(n) && std::abs(n) <= 1e9; }))
            out[i] = photo::Region{static_cast<int>(v[0]), static_cast<int>(v[1]),
                                   static_cast<int>(v[2]), static_cast<int>(v[3])};
    return out;
}

py::dict photoRegions(py::handle image, py::handle chart, py::handle regions,
                      const std::string& fit, bool linear, py::handle reference, bool withNames,
                      py::handle chipset, const std::string& illuminant, bool pwd, double gamma,
                      int whiteBalance) {
    const batch::Window window = windowOf(illuminant, pwd, gamma, whiteBalance);
    const photo::PhotoSetup setup = photoSetup(chart, fit, linear, reference);
    const auto list = photoRegionList(regions);
    const photo::Picture picture = pictureOf(image);
    Data& d = data();
    const std::string chartFile = d.resources.locate("photo/chart-reflectance.csv").path;
    const std::size_t n = list.size();
    Triples t{Doubles(Shape{static_cast<py::ssize_t>(n), 3}), {static_cast<py::ssize_t>(n)}, n};
    std::vector<Status> given(n, Status::Ok);
    std::vector<std::string> notes(n);
    std::string refused;
    std::optional<photo::Calibration> fitted;
    {
        py::gil_scoped_release free;
        const auto known = photo::chartReference(chartFile);
        const auto photo = known.value
                               ? photo::PhotoRegions::calibrate(picture, setup, *known.value)
                               : Loaded<photo::PhotoRegions>{std::nullopt, known.message};
        if (photo.value)
            fitted = photo.value->calibration();
        else
            refused = photo.message;
        double* xyz = t.values.mutable_data();
        for (std::size_t i = 0; i < n && photo.value; ++i) {
            const auto read = list[i] ? photo.value->read(*list[i])
                                      : Loaded<photo::RegionReading>{
                                            std::nullopt, "x, y, width and height should be whole "
                                                          "numbers of pixels"};
            const Tristimulus v = read.value ? read.value->xyz : Tristimulus{NAN, NAN, NAN};
            xyz[3 * i] = v.X, xyz[3 * i + 1] = v.Y, xyz[3 * i + 2] = v.Z;
            if (!read.value) given[i] = Status::BadRegion;
            for (const std::string& note :
                 read.value ? read.value->notes : std::vector{read.message})
                notes[i] += (notes[i].empty() ? "" : "; ") + note;
        }
    }
    if (!fitted) throw py::value_error(readable(refused));
    py::dict out = munsellOfXyz(t, window, &given);
    out["X"] = t.values[py::make_tuple(py::ellipsis(), 0)];
    out["Y"] = t.values[py::make_tuple(py::ellipsis(), 1)];
    out["Z"] = t.values[py::make_tuple(py::ellipsis(), 2)];
    out["expected_dE00_median"] = fitted->expectedMedian;
    out["expected_dE00_max"] = fitted->expectedMax;
    out["warnings"] = fitted->warnings;
    out["notes"] = objectArray(t.shape, notes);
    if (withNames) {
        py::dict named = isccNbsName(out["notation"]);
        named.attr("pop")("status");
        out.attr("update")(named);
    }
    if (!chipset.is_none()) {
        py::dict chips = nearestChip(t.values, py::cast<std::string>(chipset), illuminant, pwd,
                                     gamma, whiteBalance);
        chips["chip_status"] = chips.attr("pop")("status");
        out.attr("update")(chips);
    }
    return out;
}

// The illuminants and observers, read on the first call that needs them.
py::dict spectrumToXyz(py::handle reflectance, py::handle wavelengths,
                       const std::string& illuminant, int observer) {
    Data& d = data();
    if (const Result loaded = d.resources.loadSpectra(); !loaded.ok)
        throw std::runtime_error(readable("huelinx: " + loaded.message));
    return pyspectra::spectrumToXyz(reflectance, wavelengths, illuminant, observer,
                                    *d.resources.spectra());
}

} // namespace

PYBIND11_MODULE(huelinx, m) {
    m.doc() = "Munsell notation to and from CIE XYZ, x,y, L*a*b* and display RGB, ISCC-NBS names "
              "and the nearest chip by CIEDE2000, with the Huelinx colour core.";
    // The Munsell table is read once, at import; a fault in it fails the
    // import with a message that may name a file in any bytes.
    try {
        data();
    } catch (const std::exception& e) {
        throw std::runtime_error(readable(e.what()));
    }
    // A C++ allocation that fails says so (NumPy's own say so too).
    py::register_exception_translator([](std::exception_ptr failure) {
        try {
            if (failure) std::rethrow_exception(failure);
        } catch (const std::bad_alloc&) {
            PyErr_SetString(PyExc_MemoryError, "huelinx: not enough memory for these colours");
        }
    });

    m.def("munsell_to_xyz", &munsellToXyz, py::arg("notations"), HUELINX_SETTINGS_ARGS,
          "X, Y, Z (white Y = 100) and x, y under the illuminant chosen of Munsell notations "
          "(strings such as '5R 4/14', 'N 5/', or numbers (..., 3) of hue 0..100, value, chroma; "
          "hue NaN with chroma 0 is a grey, as xyz_to_munsell gives one). Returns a dict of arrays "
          "X, Y, Z, x, y and status ('ok', 'outside data', 'out of range', 'not a notation', "
          "'not a number', 'bad text' for a string UTF-8 can't hold); numbers are NaN where the "
          "status isn't 'ok'. With the spectral tables, also macadam (True within the MacAdam "
          "limits under the illuminant chosen) and macadam_excess (the excess over the "
          "object-colour solid, X, Y, Z units with a perfect white Y = 100, below 0 inside; "
          "NaN without X, Y, Z), as huelinx-convert --limits.");
    m.def("xyz_to_munsell", &xyzToMunsell, py::arg("xyz"), HUELINX_SETTINGS_ARGS,
          "Munsell notation of X, Y, Z (..., 3) under the illuminant chosen (under D50 and D65 "
          "taken to C, the data's, before the search): a dict of hue (0..100, NaN for a grey N, "
          "whose chroma is 0), value and chroma as computed, not rounded (a value below 0.5 as "
          "it is), notation (the text the window shows, to two decimals) and status ('in data', "
          "'outside data' with the value alone, also for a colour the data hold at one level "
          "around its value only; 'out of range' where a number is beyond single precision or "
          "gives one, 'not a number'). 'one level only' is no longer given.");
    m.def("xyy_to_munsell", &xyyToMunsell, py::arg("xyy"), HUELINX_SETTINGS_ARGS,
          "As xyz_to_munsell, from chromaticity x, y and luminance Y (..., 3).");
    static const char* const labNames[3] = {"L", "a", "b"};
    static const char* const xyzNames[3] = {"X", "Y", "Z"};
    static const char* const rgbNames[3] = {"R", "G", "B"};
    definePointwise(m, "xyz_to_lab", batch::xyzToLab, "xyz", labNames,
                    "L*, a*, b* of X, Y, Z as the window computes them; 'out of range' (NaN) "
                    "where huelinx-convert refuses the X, Y, Z: a number beyond single "
                    "precision, typed or computed; 'not a number' for light without "
                    "chromaticity (Y above 0, X + Y + Z not above 0).");
    definePointwise(
        m, "lab_to_xyz", batch::labToXyz, "lab", xyzNames,
        "X, Y, Z of L*, a*, b* as the window's L*a*b* entry, relative to the white of the "
        "illuminant chosen and under it: 'out of range' below L* 0 or "
        "where a number is beyond single precision, typed or computed; 'not a number' where "
        "the X, Y, Z are light without chromaticity (X + Y + Z not above 0). macadam and "
        "macadam_excess as munsell_to_xyz.");
    definePointwise(m, "xyz_to_rgb", batch::xyzToRgb, "xyz", rgbNames,
                    "Display R, G, B (0..255, clipped) of X, Y, Z; status 'out of RGB range' "
                    "where the window says so, 'out of range' and 'not a number' as xyz_to_lab.");
    definePointwise(
        m, "rgb_to_xyz", batch::rgbToXyz, "rgb", xyzNames,
        "X, Y, Z of display R, G, B (rounded and clamped into 0..255) as the window's RGB entry; "
        "macadam and macadam_excess as munsell_to_xyz.");
    m.def("iscc_nbs_name", &isccNbsName, py::arg("notations"),
          "ISCC-NBS level-3 name and abbreviation of notations; status 'ok', 'no name', "
          "'not a notation', 'not a number' or 'bad text'.");
    m.def("nearest_chip", &nearestChip, py::arg("colours"), py::arg("chipset") = "soil",
          HUELINX_SETTINGS_ARGS,
          "Nearest chip by CIEDE2000 of notations (strings) or X, Y, Z (..., 3): chip, label, "
          "dE00, dH, dV, dC (Munsell steps, colour minus chip) and status ('ok', 'no chip within "
          "5', 'outside data', ...). chipset: 'soil', 'renotation-real', a set in a chipsets "
          "folder or a CSV file.");
    m.def("contrast_class", &contrastClass, py::arg("a"), py::arg("b"), HUELINX_SETTINGS_ARGS,
          "Soil contrast class of pairs of notations through the soil chips (a notation that is "
          "no chip is taken to the nearest): class ('Faint', 'Distinct', 'Prominent'), dE00 of "
          "the notations, dH (hue pages), dV, dC of the chips, chip1, chip2, taken1, taken2 (the "
          "notation was no chip) and status ('ok', 'no chip within 5', 'outside data', ...).");
    m.def("soil_checks", &soilChecks, py::arg("moist"), py::arg("dry"),
          "Colour checks of moist and dry readings: mollic_colour (moist value <= 3, chroma <= 3, "
          "dry value <= 5), chernic_colour (moist chroma <= 2) and status.");
    m.def("delta_e_2000", &deltaE2000, py::arg("lab1"), py::arg("lab2"), py::kw_only(),
          py::arg("kL") = 1.0, py::arg("kC") = 1.0, py::arg("kH") = 1.0,
          "CIEDE2000 between L*a*b* colours (..., 3) of the same shape, or one against many.");
    m.def("photo_regions", &photoRegions, py::arg("image"), py::arg("chart"), py::arg("regions"),
          py::kw_only(), py::arg("fit") = "3x3", py::arg("linear") = false,
          py::arg("reference") = py::none(), py::arg("names") = false,
          py::arg("chipset") = py::none(), py::arg("illuminant") = "C", py::arg("pwd") = false,
          py::arg("gamma") = 2.2, py::arg("white_balance") = 100,
          "Regions of a photograph read through the colour rendition chart in it, as "
          "huelinx-convert --photo reads them. image: (height, width, 3) uint8 or uint16; chart: "
          "the centres of the top-left, top-right, bottom-right and bottom-left patches (8 "
          "numbers); regions: (n, 4) x, y, width, height in pixels; fit '3x3' or 'rootpoly2'; "
          "linear: the values are linear, else sRGB-encoded; reference: a grey card's x, y, "
          "radius and Y (0..100). Returns X, Y, Z, hue, value, chroma, notation, status ('bad "
          "region' for a region not wholly in the picture), notes (why a region can't be read, "
          "or what its reading says: lighting not checked, clipped, uneven light), the fit's "
          "expected_dE00_median and expected_dE00_max and warnings; with names, name and "
          "abbreviation; with a chipset, chip, label, dE00, dH, dV, dC and chip_status ('no chip "
          "within 5', ...). A picture or chart that "
          "can't be fitted raises ValueError with the reason.");
    m.def("spectrum_to_xyz", &spectrumToXyz, py::arg("reflectance"),
          py::arg("wavelengths") = py::none(), py::kw_only(), py::arg("illuminant") = "C",
          py::arg("observer") = 2,
          "X, Y, Z (white Y = 100) and L*, a*, b* (against that light's and observer's own "
          "white) of reflectance spectra (..., n) as fractions, under any illuminant of "
          "illuminants.csv ('A', 'C', 'D50', 'D65', 'F1'..'F12', 'ISO7589', any case) with the "
          "CIE 1931 2 degree or 1964 10 degree observer: plain sums over 380..780 nm at 5 nm. "
          "wavelengths: None for that grid (n = 81), or 360..750 nm at 10 nm (n = 40) for "
          "readings as the instruments give them, taken to the 5 nm grid by straight lines "
          "with 750 nm held to 780 nm, as huelinx-convert --cgats --spectral-illuminant does. "
          "Returns a dict of arrays X, Y, Z, L, a, b; NaN in a spectrum gives NaN.");
    m.def("data_files", &dataFiles,
          "The data files the module reads, by name (Vadoro.dat, the ISCC-NBS name files, "
          "munsell-renotation-real.csv): the absolute path used, or None when no folder holds "
          "it. The folders are HUELINX_DATA, then the data folder beside the module (huelinx-data "
          "where pip installed it); the "
          "working folder is never read.");
}
