// JPEG through libjpeg. libjpeg reports a fatal error by calling error_exit, whose default
// ends the process; ours jumps back to the decoding function, which then refuses the picture.
// The jump crosses only libjpeg's C frames: everything with a destructor lives in the caller.
#include <csetjmp>
#include <cstddef>
#include <cstdio>

// clang-format off: jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
// clang-format on

#include "guide/picture_decoder.h"

namespace edumac8 {
namespace {

// A progressive picture keeps all its coefficients in memory; libjpeg refuses (it has no
// backing store) when they would need more than this.
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;
// Real progressive pictures have about ten scans; a hostile one can repeat scans without end.
constexpr int kMaxScans = 1000;

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void JumpBack(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings (a truncated file, for one) go nowhere: the picture is shown as far as it goes.
void Quiet(j_common_ptr) {}

void LimitScans(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) JumpBack(cinfo);
}

void StoreRow(const jpeg_decompress_struct& cinfo, bool adobeInverted, const JSAMPLE* in,
              std::uint8_t* out) {
  const unsigned width = cinfo.output_width;
  switch (cinfo.out_color_space) {
    case JCS_GRAYSCALE:
      for (unsigned x = 0; x < width; ++x) out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = in[x];
      break;
    case JCS_CMYK:
      // Adobe's programs store CMYK inverted (and write the Adobe marker); others do not.
      for (unsigned x = 0; x < width; ++x) {
        const JSAMPLE* p = in + 4 * x;
        const unsigned k = adobeInverted ? p[3] : 255 - p[3];
        for (int c = 0; c < 3; ++c) {
          const unsigned v = adobeInverted ? p[c] : 255 - p[c];
          out[3 * x + c] = static_cast<std::uint8_t>((v * k + 127) / 255);
        }
      }
      break;
    default:
      for (unsigned x = 0; x < 3 * width; ++x) out[x] = in[x];
      break;
  }
}

// Returns false when libjpeg refused the data.
bool Decode(const std::string_view bytes, Picture& picture) {
  jpeg_decompress_struct cinfo;
  ErrorManager errors;
  jpeg_progress_mgr progress;
  cinfo.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = JumpBack;
  errors.pub.output_message = Quiet;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
  progress.progress_monitor = LimitScans;
  cinfo.progress = &progress;
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.image_width > static_cast<unsigned>(kMaxPictureSide) ||
      cinfo.image_height > static_cast<unsigned>(kMaxPictureSide)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
      cinfo.out_color_space = JCS_GRAYSCALE;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      cinfo.out_color_space = JCS_CMYK;
      break;
    default:
      cinfo.out_color_space = JCS_RGB;
      break;
  }
  jpeg_start_decompress(&cinfo);
  picture.width = static_cast<int>(cinfo.output_width);
  picture.height = static_cast<int>(cinfo.output_height);
  picture.rgb.assign(static_cast<std::size_t>(picture.width) * picture.height * 3, 0);
  const bool adobeInverted = cinfo.saw_Adobe_marker;
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                              cinfo.output_width * cinfo.output_components, 1);
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = static_cast<int>(cinfo.output_scanline);
    jpeg_read_scanlines(&cinfo, row, 1);
    StoreRow(cinfo, adobeInverted, row[0], picture.Row(y));
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

std::optional<Picture> DecodeJpeg(std::string_view bytes) {
  Picture picture;
  if (bytes.empty() || !Decode(bytes, picture) || picture.width == 0 || picture.height == 0)
    return std::nullopt;
  return picture;
}

}  // namespace edumac8
