// The two text encodings of .msh files: a reader over whitespace-separated tokens and a writer
// for the headered form.

#include "cinderhall/cdh_mesh_format.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/core/mg_floating_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <concepts>
#include <cstring>
#include <iterator>

namespace {
constexpr char kUnitName[] = "cdh_mesh";
} // namespace

namespace Cinderhall {

namespace {

constexpr float kShortestNormal = 0.00001f;

bool IsSeparator(char character)
{
    return character == ' ' || character == '\n' || character == '\t' || character == '\r' ||
           character == '\v' || character == '\f';
}

// Hands out the tokens of the text one by one. A stated count is never trusted: readers take
// tokens until the count is met or the text runs out, and reserve at most what the remaining
// bytes could hold.
class TokenReader
{
public:
    explicit TokenReader(std::string_view text) : text_(text) {}

    bool Next(std::string_view& token)
    {
        while (position_ < text_.size() && IsSeparator(text_[position_])) {
            ++position_;
        }
        if (position_ == text_.size()) {
            return false;
        }
        const std::size_t start = position_;
        while (position_ < text_.size() && !IsSeparator(text_[position_])) {
            ++position_;
        }
        token = text_.substr(start, position_ - start);
        return true;
    }

    // A token that is not a number reads as 0, as the format has always been forgiving there.
    bool Unsigned(std::uint32_t& value)
    {
        std::string_view token;
        if (!Next(token)) {
            return false;
        }
        value = 0;
        std::from_chars(token.data(), token.data() + token.size(), value);
        return true;
    }

    bool Float(float& value)
    {
        std::string_view token;
        if (!Next(token)) {
            return false;
        }
        if (token.front() == '+') {
            token.remove_prefix(1);
        }
        value = 0.0f;
        Marrowgate::Core::ParseFloating(token.data(), token.data() + token.size(), value);
        return true;
    }

    bool Floats(float* values, int count)
    {
        for (int i = 0; i < count; ++i) {
            if (!Float(values[i])) {
                return false;
            }
        }
        return true;
    }

    // How many records of at least `tokensPerRecord` tokens could still follow; every token
    // takes a character and a separator, except perhaps the last.
    std::size_t MostRecordsLeft(std::size_t tokensPerRecord) const
    {
        const std::size_t mostTokens = (text_.size() - position_ + 1) / 2;
        return mostTokens / tokensPerRecord;
    }

private:
    std::string_view text_;
    std::size_t position_ = 0;
};

bool ReportShortText(const char* what)
{
    MG_ERROR("cdhDataError: Mesh text ends before its %s.", what);
    return false;
}

bool ReportShortText(const char* what, std::uint32_t statedCount)
{
    MG_ERROR("cdhDataError: Mesh text states %u %s but ends before them.", statedCount, what);
    return false;
}

void NormalizeUnlessTiny(float& x, float& y, float& z)
{
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length > kShortestNormal) {
        x /= length;
        y /= length;
        z /= length;
    }
}

// Truncates channel x 255 to a byte; values outside [0, 1] and NaN are clamped rather than
// left to an undefined float-to-integer conversion.
std::uint32_t ChannelToByte(float channel)
{
    const double scaled = static_cast<double>(channel) * 255.0;
    if (!(scaled > 0.0)) {
        return 0;
    }
    return scaled >= 255.0 ? 255u : static_cast<std::uint32_t>(scaled);
}

bool ReadNodes(TokenReader& tokens, std::vector<MeshNode>& nodes)
{
    constexpr std::size_t kTokensPerNode = 21; // name, two values, parent, child count, 16 floats
    std::uint32_t nodeCount = 0;
    if (!tokens.Unsigned(nodeCount)) {
        return ReportShortText("node count");
    }
    nodes.reserve(std::min<std::size_t>(nodeCount, tokens.MostRecordsLeft(kTokensPerNode)));
    for (std::uint32_t n = 0; n < nodeCount; ++n) {
        MeshNode node;
        std::string_view name;
        std::uint32_t childCount = 0;
        if (!tokens.Next(name) || !tokens.Unsigned(node.firstValue) || !tokens.Unsigned(node.secondValue) ||
            !tokens.Unsigned(node.parentIndex) || !tokens.Unsigned(childCount)) {
            return ReportShortText("nodes", nodeCount);
        }
        node.name = name;
        if (node.parentIndex == nodeCount) {
            node.parentIndex = kNoParentNode;
        }
        node.childIndices.reserve(std::min<std::size_t>(childCount, tokens.MostRecordsLeft(1)));
        for (std::uint32_t c = 0; c < childCount; ++c) {
            std::uint32_t child = 0;
            if (!tokens.Unsigned(child)) {
                return ReportShortText("child indices", childCount);
            }
            node.childIndices.push_back(child);
        }
        float transform[16] = {};
        if (!tokens.Floats(transform, 16)) {
            return ReportShortText("nodes", nodeCount);
        }
        node.transform = Marrowgate::Core::Matrix4(transform);
        nodes.push_back(std::move(node));
    }
    return true;
}

bool ReadVertex(TokenReader& tokens, bool hasHeader, Vertex3D& vertex)
{
    float values[12] = {};
    const int valueCount = hasHeader ? 12 : 8;
    if (!tokens.Floats(values, valueCount)) {
        return false;
    }
    vertex.x = values[0];
    vertex.y = values[1];
    vertex.z = values[2];
    vertex.normalX = values[3];
    vertex.normalY = values[4];
    vertex.normalZ = values[5];
    NormalizeUnlessTiny(vertex.normalX, vertex.normalY, vertex.normalZ);
    if (hasHeader) {
        // Written alpha, red, green, blue; stored so that the bytes read R, G, B, A.
        vertex.color = ChannelToByte(values[7]) | ChannelToByte(values[8]) << 8 |
                       ChannelToByte(values[9]) << 16 | ChannelToByte(values[6]) << 24;
        vertex.u = values[10];
        vertex.v = values[11];
        return true;
    }
    // Headerless files were written for a left-handed world with v running downwards.
    vertex.color = 0xFFFFFFFFu;
    vertex.z = -vertex.z;
    vertex.normalX = -vertex.normalX;
    vertex.normalY = -vertex.normalY;
    vertex.u = values[6];
    vertex.v = 1.0f - values[7];
    return true;
}

bool ReadGeometry(TokenReader& tokens, bool hasHeader, MeshData& data)
{
    std::uint32_t vertexCount = 0;
    std::uint32_t triangleCount = 0;
    if (!tokens.Unsigned(vertexCount) || !tokens.Unsigned(triangleCount)) {
        return ReportShortText("vertex and triangle counts");
    }
    data.vertices.reserve(std::min<std::size_t>(vertexCount, tokens.MostRecordsLeft(hasHeader ? 12 : 8)));
    for (std::uint32_t i = 0; i < vertexCount; ++i) {
        Vertex3D vertex;
        if (!ReadVertex(tokens, hasHeader, vertex)) {
            return ReportShortText("vertices", vertexCount);
        }
        data.vertices.push_back(vertex);
    }
    data.indices.reserve(std::min<std::size_t>(std::size_t{triangleCount} * 3, tokens.MostRecordsLeft(1)));
    for (std::uint64_t i = 0; i < std::uint64_t{triangleCount} * 3; ++i) {
        std::uint32_t index = 0;
        if (!tokens.Unsigned(index)) {
            return ReportShortText("triangles", triangleCount);
        }
        data.indices.push_back(index);
    }
    return true;
}

void AppendNumber(std::string& out, auto value, char separator)
{
    char buffer[32];
    std::to_chars_result written;
    if constexpr (std::floating_point<decltype(value)>) {
        written = Marrowgate::Core::FormatFloating(buffer, buffer + sizeof(buffer), value);
    } else {
        written = std::to_chars(buffer, buffer + sizeof(buffer), value);
    }
    out.append(buffer, static_cast<std::size_t>(written.ptr - buffer));
    out.push_back(separator);
}

// The centre of the byte's interval, so that truncating channel x 255 gives the byte back
// whatever the float rounding.
float ByteToChannel(std::uint32_t byte)
{
    return byte == 255u ? 1.0f : (static_cast<float>(byte) + 0.5f) / 255.0f;
}

// Names are single tokens and numbers must read back, so a mesh whose names hold separators
// or whose floats are infinite or NaN cannot be stored as text. Such a mesh is refused rather
// than escaped: other readers of the format know no escapes and would read a changed name.
bool IsTextWritable(const MeshData& data)
{
    for (std::size_t n = 0; n < data.nodes.size(); ++n) {
        const MeshNode& node = data.nodes[n];
        if (std::any_of(node.name.begin(), node.name.end(),
                        [](char character) { return character == '\0' || IsSeparator(character); })) {
            MG_ERROR("cdhDataError: Mesh node %zu, \"%s\", has white space in its name, which a text mesh "
                     "cannot store.",
                     n, node.name.c_str());
            return false;
        }
        const auto notFinite = std::find_if(std::begin(node.transform.m), std::end(node.transform.m),
                                            [](float value) { return !std::isfinite(value); });
        if (notFinite != std::end(node.transform.m)) {
            MG_ERROR("cdhDataError: Mesh node %zu, \"%s\", has the value %g in its transform, which a text "
                     "mesh cannot store.",
                     n, node.name.c_str(), static_cast<double>(*notFinite));
            return false;
        }
    }
    for (std::size_t v = 0; v < data.vertices.size(); ++v) {
        const Vertex3D& vertex = data.vertices[v];
        for (const float value : {vertex.x, vertex.y, vertex.z, vertex.normalX, vertex.normalY,
                                  vertex.normalZ, vertex.u, vertex.v}) {
            if (!std::isfinite(value)) {
                MG_ERROR("cdhDataError: Mesh vertex %zu has the value %g, which a text mesh cannot store.", v,
                         static_cast<double>(value));
                return false;
            }
        }
    }
    return true;
}

} // namespace

bool ReadTextMesh(std::span<const std::byte> fileBytes, bool hasHeader, MeshData& result)
{
    result = MeshData{};
    std::string_view text(reinterpret_cast<const char*>(fileBytes.data()), fileBytes.size());
    text = text.substr(0, text.find('\0'));
    if (hasHeader) {
        text.remove_prefix(std::min<std::size_t>(4, text.size()));
    }
    TokenReader tokens(text);
    MeshData data;
    if (hasHeader) {
        std::uint32_t version = 0;
        if (!tokens.Unsigned(version)) {
            return ReportShortText("version");
        }
        if (version >= 2 && !ReadNodes(tokens, data.nodes)) {
            return false;
        }
    }
    if (!ReadGeometry(tokens, hasHeader, data)) {
        return false;
    }
    data.flags = hasHeader ? (kPositions | kNormals | kTextureCoordinates | kColors)
                           : (kPositions | kNormals | kTextureCoordinates);
    result = std::move(data);
    return true;
}

std::optional<std::string> WriteTextMesh(const MeshData& data)
{
    if (!IsTextWritable(data)) {
        return std::nullopt;
    }
    std::string out = "MSHT\n";
    out.reserve(data.vertices.size() * 120 + data.indices.size() * 8);
    AppendNumber(out, data.nodes.empty() ? 1 : 2, '\n');
    if (!data.nodes.empty()) {
        AppendNumber(out, data.nodes.size(), '\n');
        for (const MeshNode& node : data.nodes) {
            // A name is one token, so an empty one would shift every later token.
            out.append(node.name.empty() ? std::string_view("node") : std::string_view(node.name));
            out.push_back(' ');
            AppendNumber(out, node.firstValue, ' ');
            AppendNumber(out, node.secondValue, ' ');
            AppendNumber(out, node.parentIndex == kNoParentNode ? data.nodes.size() : node.parentIndex, ' ');
            AppendNumber(out, node.childIndices.size(), ' ');
            for (std::uint32_t child : node.childIndices) {
                AppendNumber(out, child, ' ');
            }
            for (int i = 0; i < 16; ++i) {
                AppendNumber(out, node.transform.m[i], i == 15 ? '\n' : ' ');
            }
        }
    }
    AppendNumber(out, data.vertices.size(), ' ');
    AppendNumber(out, data.indices.size() / 3, '\n');
    for (const Vertex3D& vertex : data.vertices) {
        const float values[] = {vertex.x,
                                vertex.y,
                                vertex.z,
                                vertex.normalX,
                                vertex.normalY,
                                vertex.normalZ,
                                ByteToChannel(vertex.color >> 24),
                                ByteToChannel(vertex.color & 0xFFu),
                                ByteToChannel(vertex.color >> 8 & 0xFFu),
                                ByteToChannel(vertex.color >> 16 & 0xFFu),
                                vertex.u,
                                vertex.v};
        for (int i = 0; i < 12; ++i) {
            AppendNumber(out, values[i], i == 11 ? '\n' : ' ');
        }
    }
    for (std::size_t i = 0; i < data.indices.size(); ++i) {
        AppendNumber(out, data.indices[i], i % 3 == 2 ? '\n' : ' ');
    }
    return out;
}

} // namespace Cinderhall
