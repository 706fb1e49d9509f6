#include "PictureCommand.h"

#include "CommandLine.h"

#include "avstore32.h"

#include <cstdio>

namespace phonomir::cli {
namespace {

const OptionDefinition kPictureOptions[] = {
    {"rotate", "TURNS", "quarter turns clockwise: 1, 2 (a half turn) or 3"},
    {"size", "WxH", "rescale the result to W x H pixels (nearest neighbour)"},
};

// Owns a picture handle of the library for the length of the command.
class Picture {
public:
    Picture() = default;
    ~Picture() { MMPictureFree(handle_); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    MMHANDLE* out() { return &handle_; }
    MMHANDLE get() const { return handle_; }
    void replace(MMHANDLE handle) {
        MMPictureFree(handle_);
        handle_ = handle;
    }

private:
    MMHANDLE handle_ = nullptr;
};

std::string readFailure(std::uint32_t status, const std::string& path) {
    switch (status) {
    case MM_WRONG_EXTENSION: return path + ": not a picture file name (bmp, dib, jpg, gif or fax)";
    case MM_FILE_ERROR: return "cannot read " + path;
    case MM_OUT_OF_MEMORY: return "out of memory";
    case MM_NOT_SUPPORTED: return path + ": a kind of picture this form's reader does not take";
    default: return path + ": not a readable picture (damaged, or larger than 65535 a side or 256 megapixels)";
    }
}

std::string writeFailure(std::uint32_t status, const std::string& path, int bits) {
    switch (status) {
    case MM_WRONG_EXTENSION: return path + ": not a picture file name (bmp, dib, jpg, gif or fax)";
    case MM_FILE_ERROR: return "cannot write " + path;
    case MM_OUT_OF_MEMORY: return "out of memory";
    case MM_NOT_SUPPORTED:
        return path + ": this form cannot hold a " + std::to_string(bits) +
               "-bit picture (GIF takes 1 and 8 bits, JPEG 8 and 24, fax 1)";
    default: return "cannot write " + path + " (status " + std::to_string(status) + ")";
    }
}

// "WxH" with both sides 1..65535.
void parseSize(const std::string& text, int& width, int& height) {
    char rest = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &rest) != 2 || width < 1 || height < 1 || width > 65535 ||
        height > 65535) {
        throw CliError("--size needs WxH with whole numbers from 1 to 65535, not \"" + text + "\"");
    }
}

struct PictureInfo {
    std::uint16_t width = 0, height = 0, bits = 0;
};

PictureInfo infoOf(const Picture& picture) {
    PictureInfo info;
    MMPictureGetInfo(picture.get(), &info.width, &info.height, &info.bits);
    return info;
}

}  // namespace

int runPicture(std::span<const std::string> args, std::ostream& out, std::ostream&) {
    const ParsedArguments parsed = parseArguments(args, kPictureOptions);
    if (parsed.has("help")) {
        out << usageText("picture IN OUT [options]\n\nConverts a picture between BMP (.bmp, .dib), JPEG (.jpg), GIF (.gif)\n"
                         "and fax (.fax) by the files' extensions, turned and then rescaled if asked, and\n"
                         "prints WIDTHxHEIGHT BITS of the result.",
                         kPictureOptions);
        return 0;
    }
    if (parsed.positional.size() != 2) throw CliError("picture needs IN and OUT");
    const std::string& input = parsed.positional[0];
    const std::string& output = parsed.positional[1];
    const int turns = static_cast<int>(parsed.integer("rotate", 0, 1, 3));
    int width = -1, height = -1;
    if (parsed.has("size")) parseSize(parsed.text("size", ""), width, height);

    Picture picture;
    if (const std::uint32_t status = MMPictureReadFile(picture.out(), input.c_str())) throw CliError(readFailure(status, input));
    if (turns != 0) {
        if (const std::uint32_t status = MMPictureRotate(picture.get(), turns)) {
            throw CliError(input + ": cannot turn a " + std::to_string(infoOf(picture).bits) + "-bit picture (status " +
                           std::to_string(status) + ")");
        }
    }
    if (width > 0) {
        MMHANDLE copy = nullptr;
        if (const std::uint32_t status = MMPictureCopy(picture.get(), &copy, width, height)) {
            throw CliError(input + ": cannot rescale a " + std::to_string(infoOf(picture).bits) + "-bit picture (status " +
                           std::to_string(status) + ")");
        }
        picture.replace(copy);
    }
    const PictureInfo info = infoOf(picture);
    if (const std::uint32_t status = MMPictureWriteFile(picture.get(), output.c_str())) {
        throw CliError(writeFailure(status, output, info.bits));
    }
    out << info.width << "x" << info.height << " " << info.bits << "\n";
    return 0;
}

}  // namespace phonomir::cli
