#include "view3d/pure/mqo.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <unordered_map>

#include "model/text.h"

namespace velmora::view3d {
namespace {

// Corners beyond this in one face are refused: no modeller writes them and
// they would only serve to blow up memory.
constexpr std::size_t kMaxFaceCorners = 64;

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string_view TrimEnd(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> SplitDocumentLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

// Cuts a line at blanks and tabs, keeping quoted text and bracketed lists
// whole (with their quotes and brackets). A Shift-JIS character is taken as
// one, so its second byte never splits anything.
std::vector<std::string_view> TokeniseMqoLine(std::string_view line) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        const std::size_t start = i;
        bool quoted = false;
        int depth = 0;
        while (i < line.size()) {
            const auto c = static_cast<unsigned char>(line[i]);
            if (!quoted && depth == 0 && (c == ' ' || c == '\t')) break;
            if (IsCp932LeadByte(c) || c >= 0xFD) {
                i += 2;
                continue;
            }
            if (c == '"') {
                quoted = !quoted;
            } else if (!quoted && c == '(') {
                ++depth;
            } else if (!quoted && c == ')' && depth > 0) {
                --depth;
            }
            ++i;
        }
        i = std::min(i, line.size());
        tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

namespace {

class Reader {
  public:
    Reader(std::string_view bytes, std::string_view fileName) : fileName_(fileName) {
        utf8_ = bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF";
        if (utf8_) bytes.remove_prefix(3);
        lines_ = SplitDocumentLines(bytes);
    }

    bool Read(MqoDocument& doc, MqoError* error);

  private:
    struct Failure {
        std::string message;
        int line;
        std::string reason;
    };

    // The last line of a document is its end marker and is never handed out.
    bool AtEnd() const { return next_ + 1 >= lines_.size(); }
    std::string_view NextLine() { return lines_[next_++]; }
    int LineNumber() const { return static_cast<int>(next_); }

    [[noreturn]] void Fail(const std::string& what) const {
        throw Failure{std::string(fileName_) + " " + std::to_string(LineNumber()) + "行目: " + what,
                      LineNumber(), what};
    }

    std::string Text(std::string_view raw) const {
        return utf8_ ? std::string(raw) : Utf8FromCp932(raw);
    }

    float Float(std::string_view token) const {
        std::string t(TrimEnd(token));
        if (t.empty()) return 0;
        char* end = nullptr;
        const float v = std::strtof(t.c_str(), &end);
        if (end == t.c_str() || *end != '\0' || !std::isfinite(v))
            Fail("数値ではありません: " + Text(token));
        return v;
    }

    long long Integer(std::string_view token) const {
        std::string t(TrimEnd(token));
        if (t.empty()) return 0;
        long long v = 0;
        const char* b = t.data();
        if (*b == '+') ++b;
        auto [p, ec] = std::from_chars(b, t.data() + t.size(), v);
        if (ec != std::errc() || p != t.data() + t.size())
            Fail("整数ではありません: " + Text(token));
        return v;
    }

    int SmallInt(std::string_view token) const {
        return static_cast<int>(std::clamp<long long>(Integer(token), -2147483647LL, 2147483647LL));
    }

    // The text between the brackets of "key(...)", split at blanks.
    static std::vector<std::string_view> BracketValues(std::string_view token) {
        const auto open = token.find('(');
        if (open == std::string_view::npos) return {};
        auto close = token.rfind(')');
        if (close == std::string_view::npos || close < open) close = token.size();
        std::string_view inner = token.substr(open + 1, close - open - 1);
        std::vector<std::string_view> values;
        std::size_t i = 0;
        while (i < inner.size()) {
            while (i < inner.size() && (inner[i] == ' ' || inner[i] == '\t')) ++i;
            if (i >= inner.size()) break;
            const std::size_t s = i;
            bool quoted = false;
            while (i < inner.size() && (quoted || (inner[i] != ' ' && inner[i] != '\t'))) {
                if (inner[i] == '"') quoted = !quoted;
                ++i;
            }
            values.push_back(inner.substr(s, i - s));
        }
        return values;
    }

    static std::string_view Unquote(std::string_view s) {
        if (!s.empty() && s.front() == '"') s.remove_prefix(1);
        if (!s.empty() && s.back() == '"') s.remove_suffix(1);
        return s;
    }

    static std::string_view Value(const std::vector<std::string_view>& values, std::size_t i) {
        return i < values.size() ? values[i] : std::string_view{};
    }

    static bool StartsWithKey(std::string_view token, std::string_view key) {
        return token.size() >= key.size() && Lower(token.substr(0, key.size())) == key;
    }

    static bool OpensChunk(const std::vector<std::string_view>& tokens) {
        return !tokens.empty() && tokens.back() == "{";
    }

    void SkipChunk();
    void ReadScene(MqoDocument& doc);
    void ReadMaterials(MqoDocument& doc);
    MqoMaterial ReadMaterial(const std::vector<std::string_view>& tokens);
    void ReadObject(MqoDocument& doc, const std::vector<std::string_view>& head);
    void ReadVertices(MqoObject& object);
    void ReadFaces(MqoObject& object);

    std::string_view fileName_;
    std::vector<std::string_view> lines_;
    std::size_t next_ = 0;
    bool utf8_ = false;
};

bool Reader::Read(MqoDocument& doc, MqoError* error) {
    try {
        if (lines_.size() < 2 || Lower(TrimEnd(lines_[0])) != "metasequoia document") {
            next_ = 1;
            Fail("Metasequoia Document ではありません");
        }
        const std::string format = Lower(TrimEnd(lines_[1]));
        if (format != "format text ver 1.0" && format != "format text ver 1.1") {
            next_ = 2;
            Fail("読めない形式です (Format Text Ver 1.0 か 1.1 のみ): " + Text(lines_[1]));
        }
        next_ = 2;
        while (!AtEnd()) {
            const auto tokens = TokeniseMqoLine(NextLine());
            if (tokens.empty()) continue;
            const std::string key = Lower(tokens[0]);
            if (key == "scene") {
                ReadScene(doc);
            } else if (key == "material") {
                ReadMaterials(doc);
            } else if (key == "object") {
                ReadObject(doc, tokens);
            } else if (key == "codepage") {
                utf8_ = tokens.size() > 1 && Lower(tokens[1]) == "utf8";
            } else if (OpensChunk(tokens)) {
                SkipChunk();
            }
        }
        return true;
    } catch (const Failure& f) {
        if (error) *error = {f.message, f.line, f.reason};
        return false;
    }
}

// Skips an unknown chunk and the chunks nested in it.
void Reader::SkipChunk() {
    int depth = 1;
    while (!AtEnd() && depth > 0) {
        const auto tokens = TokeniseMqoLine(NextLine());
        if (tokens.empty()) continue;
        if (tokens[0].substr(0, 1) == "}") {
            --depth;
        } else if (OpensChunk(tokens)) {
            ++depth;
        }
    }
}

void Reader::ReadScene(MqoDocument& doc) {
    MqoScene scene;
    while (!AtEnd()) {
        const auto t = TokeniseMqoLine(NextLine());
        if (t.empty()) continue;
        if (t[0].substr(0, 1) == "}") break;
        const std::string key = Lower(t[0]);
        auto f = [&](std::size_t i) { return Float(Value(t, i)); };
        if (key == "pos") {
            scene.pos = {f(1), f(2), f(3)};
        } else if (key == "lookat") {
            scene.lookat = {f(1), f(2), f(3)};
        } else if (key == "head") {
            scene.head = f(1);
        } else if (key == "pich") {
            scene.pich = f(1);
        } else if (key == "ortho") {
            scene.ortho = f(1);
        } else if (key == "zoom2") {
            scene.zoom2 = f(1);
        } else if (key == "amb") {
            scene.amb = {f(1), f(2), f(3), 1};
        } else if (OpensChunk(t)) {
            SkipChunk();
        }
    }
    doc.scene = scene;
}

void Reader::ReadMaterials(MqoDocument& doc) {
    while (!AtEnd()) {
        const auto t = TokeniseMqoLine(NextLine());
        if (t.empty()) continue;
        if (t[0].substr(0, 1) == "}") break;
        if (OpensChunk(t)) {  // newer versions nest extension chunks here
            SkipChunk();
            continue;
        }
        doc.materials.push_back(ReadMaterial(t));
    }
}

MqoMaterial Reader::ReadMaterial(const std::vector<std::string_view>& t) {
    MqoMaterial m;
    std::string_view name = t[0];
    name = name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string_view{};
    m.name = Text(name);
    auto find = [&](std::string_view key) -> std::vector<std::string_view> {
        for (std::size_t i = 1; i < t.size(); ++i) {
            if (StartsWithKey(t[i], key) && t[i].size() > key.size() && t[i][key.size()] == '(') {
                return BracketValues(t[i]);
            }
        }
        return {};
    };
    if (auto v = find("shader"); !v.empty()) m.shader = SmallInt(v[0]);
    const auto col = find("col");
    m.col = {Float(Value(col, 0)), Float(Value(col, 1)), Float(Value(col, 2)),
             Float(Value(col, 3))};
    m.dif = Float(Value(find("dif"), 0));
    m.amb = Float(Value(find("amb"), 0));
    m.emi = Float(Value(find("emi"), 0));
    m.spc = Float(Value(find("spc"), 0));
    m.power = Float(Value(find("power"), 0));
    m.tex = Text(Unquote(Value(find("tex"), 0)));
    m.aplane = Text(Unquote(Value(find("aplane"), 0)));
    m.bump = Text(Unquote(Value(find("bump"), 0)));
    return m;
}

void Reader::ReadObject(MqoDocument& doc, const std::vector<std::string_view>& head) {
    MqoObject object;
    object.name = Text(Unquote(Value(head, 1)));
    while (!AtEnd()) {
        const auto t = TokeniseMqoLine(NextLine());
        if (t.empty()) continue;
        if (t[0].substr(0, 1) == "}") break;
        const std::string key = Lower(t[0]);
        if (key == "visible") {
            object.visible = SmallInt(Value(t, 1));
        } else if (key == "locking") {
            object.locking = SmallInt(Value(t, 1));
        } else if (key == "shading") {
            object.shading = SmallInt(Value(t, 1));
        } else if (key == "facet") {
            object.facet = Float(Value(t, 1));
        } else if (key == "color") {
            object.color = {Float(Value(t, 1)), Float(Value(t, 2)), Float(Value(t, 3)), 1};
        } else if (key == "color_type") {
            object.colorType = SmallInt(Value(t, 1));
        } else if (key == "vertex") {
            ReadVertices(object);
        } else if (key == "face") {
            ReadFaces(object);
        } else if (OpensChunk(t)) {
            // Chunks of newer versions (vertexattr, BVertex, ...) are skipped
            // whole instead of ending the object at their closing brace.
            SkipChunk();
        }
    }
    PostProcessFaces(object);
    doc.objects.push_back(std::move(object));
}

void Reader::ReadVertices(MqoObject& object) {
    while (!AtEnd()) {
        const auto t = TokeniseMqoLine(NextLine());
        if (t.empty()) continue;
        if (t[0].substr(0, 1) == "}") break;
        if (t.size() < 3) Fail("頂点の座標が三つありません");
        MqoVertex v;
        v.position = {Float(t[0]), Float(t[1]), Float(t[2])};
        object.vertices.push_back(v);
    }
}

void Reader::ReadFaces(MqoObject& object) {
    while (!AtEnd()) {
        const auto t = TokeniseMqoLine(NextLine());
        if (t.empty()) continue;
        if (t[0].substr(0, 1) == "}") break;
        const long long n = Integer(t[0]);
        if (n < 1 || static_cast<std::size_t>(n) > kMaxFaceCorners) {
            Fail("面の頂点数が読めません: " + Text(t[0]));
        }
        const auto corners = static_cast<std::size_t>(n);
        MqoFace face;
        face.v.assign(corners, 0);
        face.uv.assign(corners, {0.0f, 0.0f});
        face.col.assign(corners, 0xFFFFFFFFu);
        for (std::size_t i = 1; i < t.size(); ++i) {
            const std::string key = Lower(t[i].substr(0, t[i].find('(')));
            const auto values = BracketValues(t[i]);
            if (StartsWithKey(t[i], "v")) {
                for (std::size_t c = 0; c < corners; ++c) {
                    const long long index = Integer(Value(values, c));
                    if (index < 0 || index >= static_cast<long long>(object.vertices.size())) {
                        Fail("面の頂点番号 " + std::to_string(index) + " は範囲外です");
                    }
                    face.v[c] = static_cast<int>(index);
                }
            } else if (StartsWithKey(t[i], "m")) {
                face.material = SmallInt(Value(values, 0));
            } else if (StartsWithKey(t[i], "uv")) {
                for (std::size_t c = 0; c < corners; ++c) {
                    face.uv[c] = {Float(Value(values, c * 2)), Float(Value(values, c * 2 + 1))};
                }
            } else if (StartsWithKey(t[i], "col")) {
                object.hasVertexColours = true;
                for (std::size_t c = 0; c < corners && c < values.size(); ++c) {
                    face.col[c] = static_cast<std::uint32_t>(Integer(values[c]));
                }
            }
        }
        object.faces.push_back(std::move(face));
    }
}

}  // namespace

std::optional<MqoDocument> ReadMqoDocument(std::string_view bytes, std::string_view fileName,
                                           MqoError* error) {
    MqoDocument doc;
    Reader reader(bytes, fileName);
    if (!reader.Read(doc, error)) return std::nullopt;
    return doc;
}

void PostProcessFaces(MqoObject& object) {
    // A face naming a vertex the object does not have is dropped.
    const auto size = static_cast<int>(object.vertices.size());
    std::erase_if(object.faces, [size](const MqoFace& f) {
        return std::any_of(f.v.begin(), f.v.end(), [size](int i) { return i < 0 || i >= size; });
    });
    for (MqoFace& f : object.faces) {
        std::reverse(f.v.begin(), f.v.end());
        std::reverse(f.uv.begin(), f.uv.end());
        std::reverse(f.col.begin(), f.col.end());
        f.normal = {};
        if (f.v.size() >= 3) {
            const Vec3 p0 = object.vertices[static_cast<std::size_t>(f.v[0])].position;
            const Vec3 p1 = object.vertices[static_cast<std::size_t>(f.v[1])].position;
            const Vec3 p2 = object.vertices[static_cast<std::size_t>(f.v[2])].position;
            f.normal = Normalise(Cross(p2 - p1, p0 - p1));
        }
    }
    for (MqoVertex& v : object.vertices) v.normal = {};
    for (const MqoFace& f : object.faces) {
        if (f.v.size() <= 2) continue;
        for (int index : f.v) {
            MqoVertex& v = object.vertices[static_cast<std::size_t>(index)];
            v.normal = v.normal + f.normal;
        }
    }
    for (MqoVertex& v : object.vertices) v.normal = Normalise(v.normal);
}

}  // namespace velmora::view3d
