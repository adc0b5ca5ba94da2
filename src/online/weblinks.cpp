// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/weblinks.h"

#include "online/vendor.h"
#include "toolkit/shell.h"

namespace lexoria::online {

QString WebLinkAddress(int buttonId) {
  for (const WebLink& link : kWebLinks) {
    if (link.buttonId == buttonId) return QString::fromLatin1(kVendorHost) + QString::fromLatin1(link.pagePath);
  }
  return QString();
}

bool OpenWebLink(int buttonId) {
  const QString address = WebLinkAddress(buttonId);
  if (address.isEmpty()) return false;
  return lexoria::OpenWebAddress(address);
}

}  // namespace lexoria::online
