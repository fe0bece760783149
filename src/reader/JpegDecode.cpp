// JPEG pictures through libjpeg, scaled by its own inverse transform: however
// large the picture, a baseline file costs the decoder a row of blocks.
#include <cstdio>
#include <csetjmp>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "reader/PictureDecoders.h"

namespace reader {

namespace {

struct Errors {
    jpeg_error_mgr manager;  // first: libjpeg hands its address back
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void FailJpeg(j_common_ptr info) {
    auto* errors = reinterpret_cast<Errors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// A warning: data missing ends the decoding, as a file cut short would;
// others (bytes passed over between markers, ...) leave the picture whole.
void Note(j_common_ptr info, int level) {
    if (level >= 0) {
        return;  // tracing
    }
    const int code = info->err->msg_code;
    if (code == JWRN_HIT_MARKER || code == JWRN_JPEG_EOF) {
        auto* errors = reinterpret_cast<Errors*>(info->err);
        std::snprintf(errors->message, sizeof errors->message,
                      "its picture data ends early (the file is damaged or cut short)");
        std::longjmp(errors->jump, 1);
    }
}

// Nothing is printed: what is wrong becomes the problem.
void Quiet(j_common_ptr) {}

// Adobe's tools store CMYK inverted: each sample is 255 less the ink.
void CmykToBgr(const uint8_t* cmyk, uint8_t* bgr, JDIMENSION width) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const uint32_t k = cmyk[3];
        bgr[0] = static_cast<uint8_t>((cmyk[2] * k + 127) / 255);
        bgr[1] = static_cast<uint8_t>((cmyk[1] * k + 127) / 255);
        bgr[2] = static_cast<uint8_t>((cmyk[0] * k + 127) / 255);
    }
}

// Between setjmp and the last libjpeg call everything is plain data: a
// longjmp out of libjpeg leaves nothing to destroy. cmyk: a row for the
// decoder's CMYK samples, 4 bytes a pixel of the planned width.
bool Decode(jpeg_decompress_struct* info, Errors* errors, const std::vector<uint8_t>* bytes,
            const DecodePlan* plan, cv::Mat* picture, uint8_t* cmyk) {
    if (setjmp(errors->jump)) {
        return false;
    }
    jpeg_create_decompress(info);
    // Its own bound besides the plan's count: a larger request of the
    // decoder's is an error, not an allocation.
    info->mem->max_memory_to_use = static_cast<long>(kMaxDecoderBytes + (16 << 20));
    jpeg_mem_src(info, bytes->data(), static_cast<unsigned long>(bytes->size()));
    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK) {
        std::snprintf(errors->message, sizeof errors->message, "it holds no picture");
        return false;
    }
    info->scale_num = static_cast<unsigned int>(plan->eighths);
    info->scale_denom = static_cast<unsigned int>(8 * plan->reduction);
    const bool inks = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = inks ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(info);
    if (info->output_width != static_cast<JDIMENSION>(plan->width) ||
        info->output_height != static_cast<JDIMENSION>(plan->height)) {
        std::snprintf(errors->message, sizeof errors->message, "its header is read two ways");
        jpeg_abort_decompress(info);
        return false;
    }
    while (info->output_scanline < info->output_height) {
        const auto row = static_cast<int>(info->output_scanline);
        JSAMPROW to = inks ? cmyk : picture->ptr<uint8_t>(row);
        if (jpeg_read_scanlines(info, &to, 1) != 1) {
            std::snprintf(errors->message, sizeof errors->message, "a row cannot be read");
            jpeg_abort_decompress(info);
            return false;
        }
        if (inks) {
            CmykToBgr(cmyk, picture->ptr<uint8_t>(row), info->output_width);
        }
    }
    jpeg_finish_decompress(info);
    return true;
}

}  // namespace

cv::Mat DecodeJpeg(const std::vector<uint8_t>& bytes, const DecodePlan& plan,
                   std::string& problem) {
    Errors errors{};
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = FailJpeg;
    errors.manager.emit_message = Note;
    errors.manager.output_message = Quiet;
    cv::Mat picture(plan.height, plan.width, CV_8UC3);
    std::vector<uint8_t> cmyk(static_cast<size_t>(plan.width) * 4);
    const bool decoded = Decode(&info, &errors, &bytes, &plan, &picture, cmyk.data());
    jpeg_destroy_decompress(&info);
    if (!decoded) {
        problem = std::string("the JPEG file cannot be decoded: ") + errors.message;
        return {};
    }
    return picture;
}

}  // namespace reader
