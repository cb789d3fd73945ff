#pragma once
// `curve --svg/--png` draws with Qt's painter, which a core-only build of tavelo-cli lacks:
// the drawing registers itself here when it is built in.
#include <string>
#include <vector>

#include "core/params/EqBand.h"

namespace tavelo::cli {

struct CurvePictureRequest {
  std::string path;
  bool svg = true;
  int width = 1000;
  int height = 280;
  double scale = 1.0;  // PNG device pixels per picture pixel
};

using CurvePictureWriter = bool (*)(const std::vector<EqBand>& bands,
                                    const CurvePictureRequest& request, std::string& error);

// Null in a build without pictures.
CurvePictureWriter& CurvePictureWriterSlot();

}  // namespace tavelo::cli
