#include "runtime/panel_format.h"

#include <map>
#include <set>
#include <utility>

namespace rt::panelfmt {

using nlohmann::json;

namespace {

const std::pair<const char*, Kind> kKinds[] = {
    {"command_button", Kind::CommandButton}, {"picture_button", Kind::PictureButton},
    {"toggle_button", Kind::ToggleButton},   {"check_box", Kind::CheckBox},
    {"radio_button", Kind::RadioButton},     {"binary_switch", Kind::BinarySwitch},
    {"ring", Kind::Ring},                    {"ring_slide", Kind::RingSlide},
    {"slide", Kind::Slide},                  {"numeric", Kind::Numeric},
    {"string", Kind::String},                {"text_message", Kind::TextMessage},
    {"text_box", Kind::TextBox},             {"led", Kind::Led},
    {"canvas", Kind::Canvas},                {"table", Kind::Table},
    {"list_box", Kind::ListBox},             {"timer", Kind::Timer},
    {"decoration", Kind::Decoration},        {"picture", Kind::Picture},
    {"splitter", Kind::Splitter},
};

bool IsList(Kind k) { return k == Kind::Ring || k == Kind::RingSlide || k == Kind::ListBox; }

// Walks one file and collects problems, each prefixed with where it was found.
class Checker {
public:
    explicit Checker(std::string where) : where_(std::move(where)) {}

    std::vector<std::string> problems;

    void File(const json& doc) {
        if (!doc.is_object()) {
            Fail("", "the file is not a JSON object");
            return;
        }
        Keys(doc, "", {"file", "panels", "menubars"});
        Require(doc, "", "file", &json::is_string, "a string");
        if (Require(doc, "", "panels", &json::is_array, "an array")) {
            std::set<int> resources;
            for (const json& p : doc["panels"]) Panel(p, &resources);
        }
        if (doc.contains("menubars")) {
            if (!doc["menubars"].is_array()) {
                Fail("", "\"menubars\" must be an array");
            } else {
                std::set<int> resources;
                for (const json& m : doc["menubars"]) MenuBar(m, &resources);
            }
        }
        if (problems.empty()) Constants(doc);
    }

private:
    struct PanelSize {
        long long width = -1, height = -1;
    };
    std::string where_;
    PanelSize limit_;

    void Fail(const std::string& context, const std::string& what) {
        problems.push_back(where_ + (context.empty() ? "" : ": " + context) + ": " + what);
    }

    // Unknown keys are refused so that a misspelt key is not silently ignored; keys that begin
    // with "_" are notes for the reader and pass.
    void Keys(const json& obj, const std::string& ctx, std::initializer_list<const char*> allowed) {
        for (auto it = obj.begin(); it != obj.end(); ++it) {
            const std::string& k = it.key();
            if (!k.empty() && k[0] == '_') continue;
            bool known = false;
            for (const char* a : allowed) known = known || k == a;
            if (!known) Fail(ctx, "unknown key \"" + k + "\"");
        }
    }

    bool Require(const json& obj, const std::string& ctx, const char* key,
                 bool (json::*test)() const noexcept, const char* what) {
        if (!obj.contains(key)) {
            Fail(ctx, std::string("missing key \"") + key + "\"");
            return false;
        }
        return Type(obj, ctx, key, test, what);
    }

    bool Type(const json& obj, const std::string& ctx, const char* key,
              bool (json::*test)() const noexcept, const char* what) {
        if (!obj.contains(key)) return false;
        if (!(obj[key].*test)()) {
            Fail(ctx, std::string("\"") + key + "\" must be " + what);
            return false;
        }
        return true;
    }

    void Optional(const json& obj, const std::string& ctx, const char* key,
                  bool (json::*test)() const noexcept, const char* what) {
        Type(obj, ctx, key, test, what);
    }

    bool RequireIdentifier(const json& obj, const std::string& ctx, const char* key) {
        if (!Require(obj, ctx, key, &json::is_string, "a string")) return false;
        if (!IsIdentifier(obj[key].get<std::string>())) {
            Fail(ctx, std::string("\"") + key + "\" \"" + obj[key].get<std::string>() +
                          "\" is not a valid constant name");
            return false;
        }
        return true;
    }

    bool Geometry(const json& obj, const std::string& ctx) {
        const json& g = obj["geometry"];
        bool ok = g.is_array() && g.size() == 4;
        for (size_t i = 0; ok && i < 4; ++i) ok = g[i].is_number_integer();
        if (ok) ok = g[2].get<long long>() > 0 && g[3].get<long long>() > 0;
        if (!ok) {
            Fail(ctx, "\"geometry\" must be [left, top, width, height] with a positive size");
            return false;
        }
        long long l = g[0].get<long long>(), t = g[1].get<long long>(), w = g[2].get<long long>(), h = g[3].get<long long>();
        if (limit_.width > 0 && (l < 0 || t < 0 || l + w > limit_.width || t + h > limit_.height)) {
            Fail(ctx, "\"geometry\" [" + std::to_string(l) + ", " + std::to_string(t) + ", " + std::to_string(w) + ", " +
                          std::to_string(h) + "] reaches outside the panel (" + std::to_string(limit_.width) + " x " +
                          std::to_string(limit_.height) + ")");
            return false;
        }
        return true;
    }

    void Panel(const json& p, std::set<int>* resources) {
        if (!p.is_object()) {
            Fail("", "a panel is not a JSON object");
            return;
        }
        std::string ctx = "panel " + DescribePanel(p);
        Keys(p, ctx, {"resource", "constant", "title", "callback", "width", "height", "controls",
                      "frames", "columnFoot"});
        if (Require(p, ctx, "resource", &json::is_number_integer, "an integer")) {
            int r = p["resource"].get<int>();
            if (r <= 0) Fail(ctx, "\"resource\" must be positive");
            if (!resources->insert(r).second) Fail(ctx, "duplicate panel resource " + std::to_string(r));
        }
        RequireIdentifier(p, ctx, "constant");
        Optional(p, ctx, "title", &json::is_string, "a string");
        Callback(p, ctx);
        for (const char* k : {"width", "height"}) {
            if (Require(p, ctx, k, &json::is_number_integer, "an integer") && p[k].get<long long>() <= 0)
                Fail(ctx, std::string("\"") + k + "\" must be positive");
        }
        if (Type(p, ctx, "columnFoot", &json::is_number_integer, "an integer") &&
            (p["columnFoot"].get<long long>() <= 0 ||
             (p.contains("height") && p["height"].is_number_integer() && p["columnFoot"].get<long long>() >= p["height"].get<long long>())))
            Fail(ctx, "\"columnFoot\" must be positive and less than the panel's height");
        // Everything placed by pixels must lie inside the panel, or part of it would never show.
        PanelSize limit;
        if (p.contains("width") && p["width"].is_number_integer() && p.contains("height") && p["height"].is_number_integer())
            limit = {p["width"].get<long long>(), p["height"].get<long long>()};
        limit_ = limit;
        std::set<std::string> frames;
        if (p.contains("frames")) {
            if (!p["frames"].is_array()) {
                Fail(ctx, "\"frames\" must be an array");
            } else {
                for (const json& f : p["frames"]) Frame(f, ctx, &frames);
            }
        }
        if (Require(p, ctx, "controls", &json::is_array, "an array")) {
            std::map<int, std::string> ids;
            std::set<std::string> constants;
            for (const json& c : p["controls"]) Control(c, ctx, frames, &ids, &constants);
            Gaps(p["controls"], ctx);
        }
    }

    // A text message's "gaps": one control per gap of its text, each placed by pixels (the
    // loader moves it into the gap), and the message itself placed by pixels.
    void Gaps(const json& controls, const std::string& pctx) {
        std::map<std::string, const json*> byConstant;
        for (const json& c : controls)
            if (c.is_object() && c.contains("constant") && c["constant"].is_string())
                byConstant[c["constant"].get<std::string>()] = &c;
        std::set<std::string> filling;
        for (const json& c : controls) {
            if (!c.is_object() || !c.contains("gaps")) continue;
            std::string ctx = pctx + ": " + DescribeControl(c);
            if (!c["gaps"].is_array()) {
                Fail(ctx, "\"gaps\" must be an array of control constants");
                continue;
            }
            if (c.value("kind", std::string()) != "text_message") Fail(ctx, "\"gaps\" given for a control that is not a text_message");
            if (!c.contains("geometry")) Fail(ctx, "\"gaps\" needs the text message placed by \"geometry\"");
            const json& shown = c.contains("value") ? c["value"] : c.contains("label") ? c["label"] : json("");
            const size_t count = shown.is_string() ? TextGaps(shown.get<std::string>()).size() : 0;
            if (c["gaps"].size() != count)
                Fail(ctx, "\"gaps\" names " + std::to_string(c["gaps"].size()) + " control(s) for " + std::to_string(count) +
                              " gap(s) of three or more blanks in its text");
            for (const json& g : c["gaps"]) {
                if (!g.is_string()) {
                    Fail(ctx, "\"gaps\" must be an array of control constants");
                    continue;
                }
                auto it = byConstant.find(g.get<std::string>());
                if (it == byConstant.end()) Fail(ctx, "\"gaps\" names control " + g.get<std::string>() + ", which the panel does not have");
                else if (!it->second->contains("geometry")) Fail(ctx, "\"gaps\" names control " + g.get<std::string>() + ", which is not placed by \"geometry\"");
                else if (!filling.insert(g.get<std::string>()).second) Fail(ctx, "\"gaps\" names control " + g.get<std::string>() + " a second time");
            }
        }
    }

    void Callback(const json& obj, const std::string& ctx) {
        if (Type(obj, ctx, "callback", &json::is_string, "a string") &&
            obj["callback"].get<std::string>().empty())
            Fail(ctx, "\"callback\" is empty (leave the key out for none)");
    }

    void Frame(const json& f, const std::string& pctx, std::set<std::string>* names) {
        std::string ctx = pctx + ": frame";
        if (!f.is_object()) {
            Fail(ctx, "not a JSON object");
            return;
        }
        if (f.contains("name") && f["name"].is_string()) ctx += " \"" + f["name"].get<std::string>() + "\"";
        Keys(f, ctx, {"name", "label", "geometry"});
        if (Require(f, ctx, "name", &json::is_string, "a string") &&
            !names->insert(f["name"].get<std::string>()).second)
            Fail(ctx, "duplicate frame name");
        Optional(f, ctx, "label", &json::is_string, "a string");
        if (!f.contains("geometry")) Fail(ctx, "missing key \"geometry\"");
        else Geometry(f, ctx);
    }

    void Value(const json& v, DataType type, const std::string& ctx, const char* what) {
        if (type == DataType::String) {
            if (!v.is_string()) Fail(ctx, std::string(what) + " must be a string (type string)");
        } else if (type == DataType::Double) {
            if (!v.is_number() && !v.is_boolean()) Fail(ctx, std::string(what) + " must be a number");
        } else {
            if (!v.is_number_integer() && !v.is_boolean())
                Fail(ctx, std::string(what) + " must be an integer");
            else if (type == DataType::Unsigned && v.is_number_integer() && v.get<long long>() < 0)
                Fail(ctx, std::string(what) + " must not be negative (type unsigned)");
        }
    }

    void Control(const json& c, const std::string& pctx, const std::set<std::string>& frames,
                 std::map<int, std::string>* ids, std::set<std::string>* constants) {
        std::string ctx = pctx + ": " + (c.is_object() ? DescribeControl(c) : "control");
        if (!c.is_object()) {
            Fail(ctx, "not a JSON object");
            return;
        }
        Keys(c, ctx, {"id", "constant", "kind", "label", "callback", "value", "type", "items",
                      "visible", "dimmed", "indicator", "min", "max", "precision", "step",
                      "interval", "enabled", "tooltip", "color", "offColor", "columns", "rows",
                      "fixedFont", "picture", "checkable", "format", "geometry", "frame", "row", "col",
                      "rowSpan", "colSpan", "gaps", "accessibleName"});
        if (Require(c, ctx, "id", &json::is_number_integer, "an integer")) {
            int id = c["id"].get<int>();
            if (id <= 0) Fail(ctx, "\"id\" must be positive");
            std::string name = c.contains("constant") && c["constant"].is_string() ? c["constant"].get<std::string>() : "?";
            auto [it, fresh] = ids->emplace(id, name);
            if (!fresh) Fail(ctx, "duplicate control id " + std::to_string(id) + " (also " + it->second + ")");
        }
        if (RequireIdentifier(c, ctx, "constant") && !constants->insert(c["constant"].get<std::string>()).second)
            Fail(ctx, "duplicate control constant " + c["constant"].get<std::string>());
        Kind kind = Kind::Decoration;
        bool kindOk = false;
        if (Require(c, ctx, "kind", &json::is_string, "a string")) {
            kindOk = KindFromName(c["kind"].get<std::string>(), &kind);
            if (!kindOk) Fail(ctx, "unknown kind \"" + c["kind"].get<std::string>() + "\"");
        }
        Optional(c, ctx, "label", &json::is_string, "a string");
        Optional(c, ctx, "accessibleName", &json::is_string, "a string");
        Callback(c, ctx);
        for (const char* k : {"visible", "dimmed", "indicator", "enabled", "fixedFont", "checkable"})
            Optional(c, ctx, k, &json::is_boolean, "true or false");
        for (const char* k : {"min", "max", "step", "interval"})
            Optional(c, ctx, k, &json::is_number, "a number");
        if (Type(c, ctx, "precision", &json::is_number_integer, "an integer") &&
            (c["precision"].get<int>() < 0 || c["precision"].get<int>() > 15))
            Fail(ctx, "\"precision\" must lie in 0..15");
        if (c.contains("min") && c.contains("max") && c["min"].is_number() && c["max"].is_number() &&
            c["min"].get<double>() > c["max"].get<double>())
            Fail(ctx, "\"min\" is above \"max\"");
        if (c.contains("step") && c["step"].is_number() && c["step"].get<double>() <= 0)
            Fail(ctx, "\"step\" must be positive");
        if (c.contains("interval") && c["interval"].is_number() && c["interval"].get<double>() <= 0)
            Fail(ctx, "\"interval\" must be positive");
        Optional(c, ctx, "tooltip", &json::is_string, "a string");
        if (Type(c, ctx, "format", &json::is_string, "a string")) {
            std::string f = c["format"].get<std::string>();
            if (f != "decimal" && f != "hex") Fail(ctx, "unknown format \"" + f + "\"");
            else if (kindOk && kind != Kind::Numeric) Fail(ctx, "\"format\" given for a " + std::string(KindName(kind)));
        }
        Optional(c, ctx, "picture", &json::is_string, "a string");
        for (const char* k : {"color", "offColor"}) {
            if (Type(c, ctx, k, &json::is_number_integer, "an integer 0xRRGGBB") &&
                (c[k].get<long long>() < 0 || c[k].get<long long>() > 0xFFFFFF))
                Fail(ctx, std::string("\"") + k + "\" must lie in 0..0xFFFFFF");
        }
        DataType type = kindOk ? DefaultType(kind) : DataType::Int;
        if (Type(c, ctx, "type", &json::is_string, "a string") &&
            !TypeFromName(c["type"].get<std::string>(), &type))
            Fail(ctx, "unknown type \"" + c["type"].get<std::string>() + "\"");
        if (c.contains("value")) {
            if (kindOk && (kind == Kind::String || kind == Kind::TextBox || kind == Kind::TextMessage))
                Value(c["value"], DataType::String, ctx, "\"value\"");
            else
                Value(c["value"], type, ctx, "\"value\"");
        }
        if (c.contains("items")) {
            if (kindOk && !IsList(kind)) Fail(ctx, "\"items\" given for a " + std::string(KindName(kind)));
            if (!c["items"].is_array()) {
                Fail(ctx, "\"items\" must be an array");
            } else {
                for (const json& item : c["items"]) {
                    if (!item.is_object()) {
                        Fail(ctx, "an item is not a JSON object");
                        continue;
                    }
                    std::string ictx = ctx + ": item";
                    if (item.contains("label") && item["label"].is_string())
                        ictx += " \"" + item["label"].get<std::string>() + "\"";
                    Keys(item, ictx, {"label", "value"});
                    Require(item, ictx, "label", &json::is_string, "a string");
                    if (!item.contains("value")) Fail(ictx, "missing key \"value\"");
                    else Value(item["value"], type, ictx, "\"value\"");
                }
            }
        }
        if (c.contains("columns")) {
            if (kindOk && kind != Kind::Table) Fail(ctx, "\"columns\" given for a " + std::string(KindName(kind)));
            if (!c["columns"].is_array()) Fail(ctx, "\"columns\" must be an array");
            else for (const json& col : c["columns"]) Column(col, ctx);
        }
        if (Type(c, ctx, "rows", &json::is_number_integer, "an integer") && c["rows"].get<long long>() < 0)
            Fail(ctx, "\"rows\" must not be negative");
        Placement(c, ctx, kindOk && kind == Kind::Timer, frames);
    }

    void Column(const json& col, const std::string& pctx) {
        std::string ctx = pctx + ": column";
        if (!col.is_object()) {
            Fail(ctx, "not a JSON object");
            return;
        }
        if (col.contains("label") && col["label"].is_string()) ctx += " \"" + col["label"].get<std::string>() + "\"";
        Keys(col, ctx, {"label", "type", "width", "editable", "format", "digits", "min", "max", "precision"});
        Require(col, ctx, "label", &json::is_string, "a string");
        if (Type(col, ctx, "type", &json::is_string, "a string")) {
            std::string t = col["type"].get<std::string>();
            DataType ignored;
            if (t != "picture" && !TypeFromName(t, &ignored)) Fail(ctx, "unknown column type \"" + t + "\"");
        }
        if (Type(col, ctx, "width", &json::is_number_integer, "an integer") && col["width"].get<long long>() <= 0)
            Fail(ctx, "\"width\" must be positive");
        Optional(col, ctx, "editable", &json::is_boolean, "true or false");
        if (Type(col, ctx, "format", &json::is_string, "a string")) {
            std::string f = col["format"].get<std::string>();
            if (f != "decimal" && f != "hex") Fail(ctx, "unknown format \"" + f + "\"");
        }
        if (Type(col, ctx, "digits", &json::is_number_integer, "an integer") &&
            (col["digits"].get<int>() < 0 || col["digits"].get<int>() > 16))
            Fail(ctx, "\"digits\" must lie in 0..16");
        Optional(col, ctx, "min", &json::is_number, "a number");
        Optional(col, ctx, "max", &json::is_number, "a number");
        if (Type(col, ctx, "precision", &json::is_number_integer, "an integer") &&
            (col["precision"].get<int>() < 0 || col["precision"].get<int>() > 15))
            Fail(ctx, "\"precision\" must lie in 0..15");
    }

    void Placement(const json& c, const std::string& ctx, bool isTimer, const std::set<std::string>& frames) {
        bool geometry = c.contains("geometry");
        bool frame = c.contains("frame");
        if (geometry && frame) {
            Fail(ctx, "give either \"geometry\" or \"frame\", not both");
            return;
        }
        if (geometry) {
            Geometry(c, ctx);
        } else if (frame) {
            if (Type(c, ctx, "frame", &json::is_string, "a string") &&
                !frames.count(c["frame"].get<std::string>()))
                Fail(ctx, "names frame \"" + c["frame"].get<std::string>() + "\", which the panel does not have");
            for (const char* k : {"row", "col"}) {
                if (Require(c, ctx, k, &json::is_number_integer, "an integer") && c[k].get<long long>() < 0)
                    Fail(ctx, std::string("\"") + k + "\" must not be negative");
            }
        } else if (!isTimer) {
            Fail(ctx, "missing placement: \"geometry\" or \"frame\" with \"row\" and \"col\"");
        }
        for (const char* k : {"rowSpan", "colSpan"}) {
            if (Type(c, ctx, k, &json::is_number_integer, "an integer") && c[k].get<long long>() < 1)
                Fail(ctx, std::string("\"") + k + "\" must be at least 1");
        }
        if (!frame) {
            for (const char* k : {"row", "col", "rowSpan", "colSpan"})
                if (c.contains(k)) Fail(ctx, std::string("\"") + k + "\" given without \"frame\"");
        }
    }

    void MenuBar(const json& m, std::set<int>* resources) {
        if (!m.is_object()) {
            Fail("", "a menu bar is not a JSON object");
            return;
        }
        std::string ctx = "menu bar";
        if (m.contains("constant") && m["constant"].is_string()) ctx += " " + m["constant"].get<std::string>();
        if (m.contains("resource") && m["resource"].is_number_integer())
            ctx += " (resource " + std::to_string(m["resource"].get<int>()) + ")";
        Keys(m, ctx, {"resource", "constant", "menus"});
        if (Require(m, ctx, "resource", &json::is_number_integer, "an integer")) {
            int r = m["resource"].get<int>();
            if (r <= 0) Fail(ctx, "\"resource\" must be positive");
            if (!resources->insert(r).second) Fail(ctx, "duplicate menu bar resource " + std::to_string(r));
        }
        RequireIdentifier(m, ctx, "constant");
        if (!Require(m, ctx, "menus", &json::is_array, "an array")) return;
        std::set<int> ids;
        for (const json& menu : m["menus"]) {
            std::string mctx = ctx + ": menu";
            if (!menu.is_object()) {
                Fail(mctx, "not a JSON object");
                continue;
            }
            if (menu.contains("label") && menu["label"].is_string()) mctx += " \"" + menu["label"].get<std::string>() + "\"";
            Keys(menu, mctx, {"id", "constant", "label", "callback", "dimmed", "items"});
            Entry(menu, mctx, &ids);
            Optional(menu, mctx, "dimmed", &json::is_boolean, "true or false");
            if (!menu.contains("items")) continue;
            if (!menu["items"].is_array()) {
                Fail(mctx, "\"items\" must be an array");
                continue;
            }
            for (const json& item : menu["items"]) {
                std::string ictx = mctx + ": item";
                if (!item.is_object()) {
                    Fail(ictx, "not a JSON object");
                    continue;
                }
                if (item.contains("separator")) {
                    Keys(item, ictx, {"separator"});
                    if (item["separator"] != true) Fail(ictx, "\"separator\" must be true");
                    continue;
                }
                if (item.contains("label") && item["label"].is_string()) ictx += " \"" + item["label"].get<std::string>() + "\"";
                Keys(item, ictx, {"id", "constant", "label", "callback", "help", "checked", "dimmed"});
                Entry(item, ictx, &ids);
                Optional(item, ictx, "help", &json::is_string, "a string");
                Optional(item, ictx, "checked", &json::is_boolean, "true or false");
                Optional(item, ictx, "dimmed", &json::is_boolean, "true or false");
            }
        }
    }

    // The keys menus and items share: id (unique in the bar), optional constant, label, callback.
    void Entry(const json& e, const std::string& ctx, std::set<int>* ids) {
        if (Require(e, ctx, "id", &json::is_number_integer, "an integer")) {
            int id = e["id"].get<int>();
            if (id <= 0) Fail(ctx, "\"id\" must be positive");
            if (!ids->insert(id).second) Fail(ctx, "duplicate menu id " + std::to_string(id));
        }
        if (e.contains("constant")) RequireIdentifier(e, ctx, "constant");
        Require(e, ctx, "label", &json::is_string, "a string");
        Callback(e, ctx);
    }

    void Constants(const json& doc) {
        std::map<std::string, int> seen;
        for (const Constant& c : FileConstants(doc)) {
            if (!seen.emplace(c.name, c.value).second)
                Fail("", "duplicate constant " + c.name + " in the generated header");
        }
    }
};

}  // namespace

bool KindFromName(const std::string& name, Kind* kind) {
    for (const auto& [n, k] : kKinds) {
        if (name == n) {
            *kind = k;
            return true;
        }
    }
    return false;
}

const char* KindName(Kind kind) {
    for (const auto& [n, k] : kKinds)
        if (k == kind) return n;
    return "?";
}

std::vector<std::pair<size_t, size_t>> TextGaps(const std::string& text) {
    std::vector<std::pair<size_t, size_t>> gaps;
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    if (first == std::string::npos) return gaps;
    for (size_t i = first; i < last;) {
        if (text[i] != ' ') {
            ++i;
            continue;
        }
        size_t end = text.find_first_not_of(' ', i);
        if (end - i >= 3) gaps.emplace_back(i, end);
        i = end;
    }
    return gaps;
}

DataType DefaultType(Kind kind) {
    switch (kind) {
    case Kind::String: case Kind::TextBox: case Kind::TextMessage: return DataType::String;
    default: return DataType::Int;
    }
}

bool TypeFromName(const std::string& name, DataType* type) {
    if (name == "int") *type = DataType::Int;
    else if (name == "unsigned") *type = DataType::Unsigned;
    else if (name == "double") *type = DataType::Double;
    else if (name == "string") *type = DataType::String;
    else return false;
    return true;
}

bool IsIdentifier(const std::string& s) {
    if (s.empty() || (s[0] >= '0' && s[0] <= '9')) return false;
    for (char ch : s) {
        bool ok = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_';
        if (!ok) return false;
    }
    return true;
}

std::string DescribePanel(const json& p) {
    std::string s = p.contains("constant") && p["constant"].is_string() ? p["constant"].get<std::string>() : "?";
    if (p.contains("resource") && p["resource"].is_number_integer())
        s += " (resource " + std::to_string(p["resource"].get<int>()) + ")";
    return s;
}

std::string DescribeControl(const json& c) {
    std::string s = "control ";
    s += c.contains("constant") && c["constant"].is_string() ? c["constant"].get<std::string>() : "?";
    if (c.contains("id") && c["id"].is_number_integer()) s += " (id " + std::to_string(c["id"].get<int>()) + ")";
    return s;
}

std::vector<std::string> ParsePanelFile(const std::string& where, const std::string& text, json* doc) {
    // A key given twice in one object would silently keep only its last value: refuse it.
    std::vector<std::set<std::string>> open;
    std::vector<std::string> duplicates;
    json::parser_callback_t cb = [&](int, json::parse_event_t event, json& parsed) {
        if (event == json::parse_event_t::object_start) {
            open.emplace_back();
        } else if (event == json::parse_event_t::object_end) {
            if (!open.empty()) open.pop_back();
        } else if (event == json::parse_event_t::key && !open.empty()) {
            std::string key = parsed.get<std::string>();
            if (!open.back().insert(key).second) duplicates.push_back(key);
        }
        return true;
    };
    json parsed;
    try {
        parsed = json::parse(text, cb);
    } catch (const json::parse_error& e) {
        return {where + ": malformed JSON: " + e.what()};
    }
    Checker checker(where);
    for (const std::string& k : duplicates)
        checker.problems.push_back(where + ": key \"" + k + "\" given twice in one object");
    checker.File(parsed);
    if (checker.problems.empty() && doc) *doc = std::move(parsed);
    return checker.problems;
}

std::vector<Constant> FileConstants(const json& doc) {
    std::vector<Constant> out;
    for (const json& p : doc.value("panels", json::array())) {
        std::string pc = p["constant"].get<std::string>();
        out.push_back({pc, p["resource"].get<int>()});
        for (const json& c : p["controls"])
            out.push_back({pc + "_" + c["constant"].get<std::string>(), c["id"].get<int>()});
    }
    for (const json& m : doc.value("menubars", json::array())) {
        std::string mc = m["constant"].get<std::string>();
        out.push_back({mc, m["resource"].get<int>()});
        for (const json& menu : m["menus"]) {
            std::string menuName = mc;
            if (menu.contains("constant")) {
                menuName += "_" + menu["constant"].get<std::string>();
                out.push_back({menuName, menu["id"].get<int>()});
            }
            for (const json& item : menu.value("items", json::array())) {
                if (item.contains("constant"))
                    out.push_back({menuName + "_" + item["constant"].get<std::string>(), item["id"].get<int>()});
            }
        }
    }
    return out;
}

}  // namespace rt::panelfmt
