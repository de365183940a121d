#include "view3d/gl/resources.h"

#include <QImage>
#include <QOpenGLExtraFunctions>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "view3d/gl/device.h"
#include "view3d/pure/archive.h"
#include "view3d/pure/debug_log.h"

namespace velmora::view3d {
namespace {

DebugLog& Log() {
    return DebugLog::Instance();
}

std::string Printf(const char* format, auto... args) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

// The GL internal format behind a pixel format; 0 when GL has none.
GLenum InternalFormat(PixelFormat f) {
    switch (f) {
        case PixelFormat::kR8G8B8:
        case PixelFormat::kX8R8G8B8:
            return GL_RGB8;
        case PixelFormat::kA8R8G8B8:
            return GL_RGBA8;
        case PixelFormat::kR5G6B5:
            return GL_RGB565;
        case PixelFormat::kA1R5G5B5:
            return GL_RGB5_A1;
        case PixelFormat::kA4R4G4B4:
            return GL_RGBA4;
        default:
            return 0;
    }
}

bool SixteenBit(PixelFormat f) {
    return f == PixelFormat::kR5G6B5 || f == PixelFormat::kA1R5G5B5 || f == PixelFormat::kA4R4G4B4;
}

std::uint32_t U32(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

void PutU32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i) & 0xFF);
}
void PutU16(std::string& s, std::uint16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}

}  // namespace

std::string FormatName(PixelFormat format) {
    switch (format) {
        case PixelFormat::kR8G8B8:
            return "R8G8B8";
        case PixelFormat::kA8R8G8B8:
            return "A8R8G8B8";
        case PixelFormat::kX8R8G8B8:
            return "X8R8G8B8";
        case PixelFormat::kR5G6B5:
            return "R5G6B5";
        case PixelFormat::kA1R5G5B5:
            return "A1R5G5B5";
        case PixelFormat::kA4R4G4B4:
            return "A4R4G4B4";
        case PixelFormat::kP8:
            return "P8";
        case PixelFormat::kDxt1:
            return "DXT1";
        case PixelFormat::kDxt5:
            return "DXT5";
        default:
            return "UNKNOWN";
    }
}

// ---------------------------------------------------------------- textures

Texture::Texture(Device& device, std::string name) : device_(device), name_(std::move(name)) {
    id_ = device_.RegisterResource(
        "TDGTexture", name_,
        {[this] { Free(); }, [this] { Create(); }, [this] { Free(); }, [this] { Create(); }});
}

Texture::~Texture() {
    Free();
    device_.UnregisterResource(id_);
}

void Texture::SetSize(int width, int height) {
    const int max = device_.MaxTextureSize() > 0 ? device_.MaxTextureSize() : 2048;
    if (width > max || height > max) {
        Log().Line(Printf("要求されたテクスチャのサイズは大きすぎます。%d x %d 以内にして下さい",
                          max, max));
    }
    requestedWidth_ = std::max(1, width);
    requestedHeight_ = std::max(1, height);
    // GL takes any size up to its maximum: no squaring, no powers of two.
    width_ = std::min(requestedWidth_, max);
    height_ = std::min(requestedHeight_, max);
    ratioU_ = static_cast<float>(requestedWidth_) / static_cast<float>(width_);
    ratioV_ = static_cast<float>(requestedHeight_) / static_cast<float>(height_);
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
}

void Texture::Free() {
    if (handle_ != 0 && device_.Ready()) device_.Gl().glDeleteTextures(1, &handle_);
    handle_ = 0;
}

void Texture::Create() {
    if (!device_.Ready() || width_ == 0) return;
    if (handle_ != 0) {
        Log().Line("テクスチャの再生成に伴い、以前のテクスチャを解放します");
        Free();
    }
    format_ = PixelFormat::kA8R8G8B8;  // the display's format
    for (PixelFormat f : candidates_) {
        if (InternalFormat(f) != 0) {
            format_ = f;
            break;
        }
    }
    Log().Line("使用されるフォーマットは " + FormatName(format_) + " です");
    QOpenGLExtraFunctions& gl = device_.Gl();
    gl.glGenTextures(1, &handle_);
    gl.glBindTexture(GL_TEXTURE_2D, handle_);
    gl.glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(InternalFormat(format_)), width_, height_,
                    0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    createdWidth_ = width_;
    createdHeight_ = height_;
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    device_.Check("テクスチャの生成に失敗しました");
    Upload();
}

void Texture::Upload() {
    if (handle_ == 0 || !device_.Ready()) return;
    std::vector<std::uint32_t> data = pixels_;
    if (SixteenBit(format_)) {
        // Reduced to 4 bits per channel, as the 16-bit formats keep them.
        for (auto& p : data) p = (p & 0xF0F0F0F0u) | (p & 0xF0F0F0F0u) >> 4;
    }
    QOpenGLExtraFunctions& gl = device_.Gl();
    gl.glBindTexture(GL_TEXTURE_2D, handle_);
    gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    // A R G B words are B G R A bytes in memory on this little-endian machine.
    gl.glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_BYTE,
                       data.data());
    device_.Check("テクスチャへの書き込みに失敗しました");
}

bool Texture::LoadPixels(const std::vector<std::uint32_t>& argb) {
    if (argb.size() !=
        static_cast<std::size_t>(requestedWidth_) * static_cast<std::size_t>(requestedHeight_)) {
        return false;
    }
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            pixels_[static_cast<std::size_t>(y * width_ + x)] =
                argb[static_cast<std::size_t>(y * requestedWidth_ + x)];
        }
    }
    if (handle_ == 0 || createdWidth_ != width_ || createdHeight_ != height_) {
        Create();
    } else {
        Upload();
    }
    return true;
}

bool Texture::LoadPicture(const Picture& picture) {
    SetSize(picture.width, picture.height);
    return LoadPixels(picture.pixels);
}

bool Texture::LoadBmp(std::string_view bytes, std::string_view source) {
    Log().Line(Printf("ID %d(%s) のテクスチャに、%s を読み込みます", id_, name_.c_str(),
                      std::string(source).c_str()));
    auto fail = [&](const char* message) {
        Log().Line(message);
        Log().Line(std::string(source) + "からの、読み込みエラー");
        return false;
    };
    if (bytes.size() < 54 || bytes.substr(0, 2) != "BM" || U32(bytes, 14) < 40)
        return fail("不正なBMPファイルです");
    const int bits = static_cast<unsigned char>(bytes[28]) | static_cast<unsigned char>(bytes[29])
                                                                 << 8;
    if (bits < 8 || bits > 32)
        return fail("色数が8ビット～32ビットの範囲のビットマップを、LoadBMPには指定してください");
    if (format_ == PixelFormat::kP8 && bits >= 16) {
        return fail(
            "8ビットパレット付きテクスチャに対して16ビット以上のBMPをロードする事は出来ません");
    }
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                            static_cast<int>(bytes.size()), "BMP")) {
        return fail("LoadBMP中に、読み込みエラーが発生しました");
    }
    image = image.convertToFormat(QImage::Format_ARGB32);
    std::vector<std::uint32_t> argb(static_cast<std::size_t>(image.width()) *
                                    static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            // Bitmaps are opaque whatever their fourth byte says.
            argb[static_cast<std::size_t>(y * image.width() + x)] = row[x] | 0xFF000000u;
        }
    }
    SetSize(image.width(), image.height());
    return LoadPixels(argb);
}

bool Texture::LoadBmpFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return false;
    return LoadBmp(bytes, file.string());
}

bool Texture::LoadArchiveEntry(const std::filesystem::path& archive, std::string_view id) {
    Log().Line(Printf("ID %d(%s) のテクスチャに、ZVAファイル%s から ID %s を読み込みます", id_,
                      name_.c_str(), archive.string().c_str(), std::string(id).c_str()));
    try {
        const auto bytes = ReadArchiveEntry(archive, id);
        return LoadBmp(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                       std::string(id) + " ＠ " + archive.string());
    } catch (const EZVAError& e) {
        Log().Line(e.what());
        Log().Line(std::string(id) + " ＠ " + archive.string() + "からの、読み込みエラー");
        return false;
    }
}

std::string Texture::SaveBmp32() const {
    std::string out = "BM";
    const auto pixelBytes = static_cast<std::uint32_t>(pixels_.size() * 4);
    PutU32(out, 54 + pixelBytes);
    PutU32(out, 0);
    PutU32(out, 54);
    PutU32(out, 40);
    PutU32(out, static_cast<std::uint32_t>(width_));
    PutU32(out, static_cast<std::uint32_t>(height_));
    PutU16(out, 1);
    PutU16(out, 32);
    PutU32(out, 0);
    PutU32(out, pixelBytes);
    PutU32(out, 2835);
    PutU32(out, 2835);
    PutU32(out, 0);
    PutU32(out, 0);
    for (int y = height_ - 1; y >= 0; --y) {  // bottom row first
        for (int x = 0; x < width_; ++x)
            PutU32(out, pixels_[static_cast<std::size_t>(y * width_ + x)]);
    }
    return out;
}

// ---------------------------------------------------------------- buffers

VertexBuffer::VertexBuffer(Device& device, std::string name, std::vector<std::uint8_t> bytes)
    : device_(device), bytes_(std::move(bytes)) {
    id_ = device_.RegisterResource(
        "TDGVertexBuffer", name,
        {[this] { Free(); }, [this] { Create(); }, [this] { Free(); }, [this] { Create(); }});
    Create();
}

VertexBuffer::~VertexBuffer() {
    Free();
    device_.UnregisterResource(id_);
}

void VertexBuffer::Create() {
    if (!device_.Ready() || handle_ != 0) return;
    QOpenGLExtraFunctions& gl = device_.Gl();
    gl.glGenBuffers(1, &handle_);
    gl.glBindBuffer(GL_ARRAY_BUFFER, handle_);
    gl.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes_.size()), bytes_.data(),
                    GL_STATIC_DRAW);
    device_.Check("VertexBufferの生成に失敗しました");
}

void VertexBuffer::Free() {
    if (handle_ != 0 && device_.Ready()) device_.Gl().glDeleteBuffers(1, &handle_);
    handle_ = 0;
}

std::uint8_t* VertexBuffer::Lock(int offset, int size) {
    if (offset < 0 || size < 0 || offset > Size() || size > Size() - offset || lockOffset_ >= 0) {
        Log().Line("VertexBufferのロックに失敗しました");
        return nullptr;
    }
    lockOffset_ = offset;
    lockSize_ = size;
    return bytes_.data() + offset;
}

bool VertexBuffer::Unlock() {
    if (lockOffset_ < 0) {
        Log().Line("VertexBufferのアンロックに失敗しました");
        return false;
    }
    if (handle_ != 0 && device_.Ready()) {
        device_.Gl().glBindBuffer(GL_ARRAY_BUFFER, handle_);
        device_.Gl().glBufferSubData(GL_ARRAY_BUFFER, lockOffset_, lockSize_,
                                     bytes_.data() + lockOffset_);
    }
    lockOffset_ = -1;
    return handle_ == 0 || device_.Check("VertexBufferのアンロックに失敗しました");
}

IndexBuffer::IndexBuffer(Device& device, std::string name, std::vector<std::uint16_t> indices)
    : device_(device), indices_(std::move(indices)) {
    id_ = device_.RegisterResource(
        "TDGIndexBuffer", name,
        {[this] { Free(); }, [this] { Create(); }, [this] { Free(); }, [this] { Create(); }});
    Create();
}

IndexBuffer::~IndexBuffer() {
    Free();
    device_.UnregisterResource(id_);
}

void IndexBuffer::Create() {
    if (!device_.Ready() || handle_ != 0) return;
    QOpenGLExtraFunctions& gl = device_.Gl();
    gl.glGenBuffers(1, &handle_);
    gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, handle_);
    gl.glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices_.size() * 2),
                    indices_.data(), GL_STATIC_DRAW);
    device_.Check("IndexBufferの生成に失敗しました");
}

void IndexBuffer::Free() {
    if (handle_ != 0 && device_.Ready()) device_.Gl().glDeleteBuffers(1, &handle_);
    handle_ = 0;
}

bool IndexBuffer::Lock(int first, int count) {
    if (first < 0 || count < 0 || first > Count() || count > Count() - first || lockFirst_ >= 0) {
        Log().Line("IndexBufferのロックに失敗しました");
        return false;
    }
    lockFirst_ = first;
    lockCount_ = count;
    return true;
}

bool IndexBuffer::Unlock() {
    if (lockFirst_ < 0) {
        Log().Line("IndexBufferのアンロックに失敗しました");
        return false;
    }
    if (handle_ != 0 && device_.Ready()) {
        device_.Gl().glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, handle_);
        device_.Gl().glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, lockFirst_ * 2, lockCount_ * 2,
                                     indices_.data() + lockFirst_);
    }
    lockFirst_ = -1;
    return handle_ == 0 || device_.Check("IndexBufferのアンロックに失敗しました");
}

std::optional<std::uint16_t> IndexBuffer::Read(int index) const {
    if (index < 0 || index >= Count()) {
        Log().Line("IndexBufferの範囲外を読み込もうとしました");
        return std::nullopt;
    }
    if (lockFirst_ < 0 || index < lockFirst_ || index >= lockFirst_ + lockCount_) {
        Log().Line("IndexBufferのロックされた範囲の外を読もうとしました");
        return std::nullopt;
    }
    return indices_[static_cast<std::size_t>(index)];
}

bool IndexBuffer::Write(int index, std::uint16_t value) {
    if (index < 0 || index >= Count()) {
        Log().Line("IndexBufferの範囲外へ書き込もうとしました");
        return false;
    }
    if (lockFirst_ < 0 || index < lockFirst_ || index >= lockFirst_ + lockCount_) {
        Log().Line("IndexBufferのロックされた範囲の外へ書こうとしました");
        return false;
    }
    indices_[static_cast<std::size_t>(index)] = value;
    return true;
}

}  // namespace velmora::view3d
