#include "MainWindowFixture.h"

#include <QtTest>

#include "link/SystemLinks.h"
#include "ui/SimProcess.h"
#include "ui/main/DisplayDlg.h"
#include "ui/main/SystemTransports.h"

namespace orvane::ui::MainWindowFixture {

std::unique_ptr<OrvaneDlg> open(ParameterImage& image, const ProductVariant& variant) {
  auto window = std::make_unique<OrvaneDlg>(image, SystemLinks::attach, SystemTransports::listSerialPorts,
                                            Timings{}, variant);
  window->resize(1366, 768);
  window->show();
  if (!QTest::qWaitForWindowExposed(window.get())) return nullptr;
  return window;
}

bool connectAndRead(OrvaneDlg& window, const SimProcess& sim, LinkType link) {
  const bool serial = link == LinkType::Serial;
  if (!window.connectTo(link, serial ? sim.serialPath() : sim.networkTarget(), serial ? 1 : 0)) return false;
  const WindowParts parts(window);
  if (!QTest::qWaitFor([&] { return parts.transferPopup()->isVisible(); }, 5000)) return false;
  return QTest::qWaitFor([&] { return !parts.transferPopup()->isVisible() && window.isEnabled(); }, 15000);
}

}  // namespace orvane::ui::MainWindowFixture
