// libjpeg's fatal errors end in error_exit; ours jumps back here (see jpeg_decoder.cpp).
#include "guide/jpeg_writer.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

// clang-format off: jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
// clang-format on

namespace edumac8 {
namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void JumpBack(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void Quiet(j_common_ptr) {}

// One scan line in the colour form the options ask for. CMYK is written as Adobe's programs
// write it: inverted, with the Adobe marker (libjpeg writes the marker for CMYK).
void ConvertRow(const Picture& picture, int y, JpegOptions::Colour colour, JSAMPLE* out) {
  const std::uint8_t* in = picture.Row(y);
  for (int x = 0; x < picture.width; ++x, in += 3) {
    switch (colour) {
      case JpegOptions::Colour::Grayscale:
        out[x] = static_cast<JSAMPLE>((in[0] * 77 + in[1] * 150 + in[2] * 29) >> 8);
        break;
      case JpegOptions::Colour::AdobeCmyk:
        out[4 * x] = in[0];
        out[4 * x + 1] = in[1];
        out[4 * x + 2] = in[2];
        out[4 * x + 3] = 255;
        break;
      case JpegOptions::Colour::Rgb:
        out[3 * x] = in[0];
        out[3 * x + 1] = in[1];
        out[3 * x + 2] = in[2];
        break;
    }
  }
}

bool Encode(const Picture& picture, const JpegOptions& options, unsigned char** data,
            unsigned long* size) {
  jpeg_compress_struct cinfo;
  ErrorManager errors;
  cinfo.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = JumpBack;
  errors.pub.output_message = Quiet;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, data, size);
  cinfo.image_width = static_cast<JDIMENSION>(picture.width);
  cinfo.image_height = static_cast<JDIMENSION>(picture.height);
  switch (options.colour) {
    case JpegOptions::Colour::Grayscale:
      cinfo.input_components = 1;
      cinfo.in_color_space = JCS_GRAYSCALE;
      break;
    case JpegOptions::Colour::AdobeCmyk:
      cinfo.input_components = 4;
      cinfo.in_color_space = JCS_CMYK;
      break;
    case JpegOptions::Colour::Rgb:
      cinfo.input_components = 3;
      cinfo.in_color_space = JCS_RGB;
      break;
  }
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, options.quality, TRUE);
  if (options.progressive) jpeg_simple_progression(&cinfo);
  // Sharp lines and small text in drawings lose less without chroma subsampling.
  for (int c = 0; c < cinfo.num_components; ++c)
    cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
  jpeg_start_compress(&cinfo, TRUE);
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(
      reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
      static_cast<JDIMENSION>(picture.width * cinfo.input_components), 1);
  while (cinfo.next_scanline < cinfo.image_height) {
    ConvertRow(picture, static_cast<int>(cinfo.next_scanline), options.colour, row[0]);
    jpeg_write_scanlines(&cinfo, row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

std::optional<std::string> EncodeJpeg(const Picture& picture, const JpegOptions& options) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.rgb.size() != static_cast<std::size_t>(picture.width) * picture.height * 3)
    return std::nullopt;
  unsigned char* data = nullptr;
  unsigned long size = 0;
  const bool ok = Encode(picture, options, &data, &size);
  std::optional<std::string> file;
  if (ok) file.emplace(reinterpret_cast<const char*>(data), size);
  std::free(data);
  return file;
}

}  // namespace edumac8
