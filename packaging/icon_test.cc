// Checks the rendered icon sizes against the window's own 16 x 16 icon: each
// pixel of each size has the colour of the window icon's pixel it lies on,
// so the 16 px rendering is exactly the window icon and every larger size is
// the same design drawn at that size (no blend of two cells, no blur).
//
// Usage: quillet_icon_test ICON_DIR, where ICON_DIR holds <n>x<n>/<id>.png.

#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cstdio>
#include <iterator>

#include "app/app_icon.h"

namespace {

constexpr int kDesignSize = 16;
constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

// A transparent pixel matches any other transparent one whatever its colour.
bool SamePixel(QRgb a, QRgb b) {
  if (qAlpha(a) == 0 || qAlpha(b) == 0) return qAlpha(a) == qAlpha(b);
  return a == b;
}

// Counts the pixels of `image` (n x n) that differ from the design cell
// under their centre; prints the first one.
int CountStrayPixels(const QImage& design, const QImage& image, int n) {
  int stray = 0;
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      // The cell under the pixel's centre; at 24 px a pixel centre may fall
      // on a cell edge, and either neighbour's colour is the design then.
      const double cx = (x + 0.5) * kDesignSize / n;
      const double cy = (y + 0.5) * kDesignSize / n;
      const QRgb got = image.pixel(x, y);
      bool ok = false;
      for (double dx : {-0.25, 0.25}) {
        for (double dy : {-0.25, 0.25}) {
          const int gx = qBound(0, int(cx + dx * kDesignSize / n), kDesignSize - 1);
          const int gy = qBound(0, int(cy + dy * kDesignSize / n), kDesignSize - 1);
          ok = ok || SamePixel(got, design.pixel(gx, gy));
        }
      }
      if (!ok && stray++ == 0) {
        std::fprintf(stderr, "%d px: pixel (%d, %d) is #%08x, not its design cell's colour\n", n,
                     x, y, got);
      }
    }
  }
  return stray;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: quillet_icon_test ICON_DIR\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  const QImage window_icon =
      quillet::AppIcon().pixmap(kDesignSize, kDesignSize).toImage().convertToFormat(
          QImage::Format_ARGB32);
  if (window_icon.size() != QSize(kDesignSize, kDesignSize)) {
    std::fprintf(stderr, "the window icon is not 16 x 16\n");
    return 1;
  }

  int failures = 0;
  for (int n : kSizes) {
    const QString path = QStringLiteral("%1/%2x%2/org.quillet.Quillet.png").arg(dir).arg(n);
    QImage image(path);
    if (image.isNull() || image.size() != QSize(n, n)) {
      std::fprintf(stderr, "%s: missing or not %d x %d\n", qPrintable(path), n, n);
      ++failures;
      continue;
    }
    image = image.convertToFormat(QImage::Format_ARGB32);
    failures += CountStrayPixels(window_icon, image, n);
  }
  if (failures == 0) std::printf("all %zu icon sizes match the window icon\n", std::size(kSizes));
  return failures == 0 ? 0 : 1;
}
