#pragma once
// Addresses on the author's web server. VANTREL_SERVER in the environment
// overrides the address built in, for instance to point at a local test server.

#include <string>

#include "core/WebServer.h"

std::wstring AuthorWebAddress(vantrel::WebPage page);
// Opens a page in the user's browser; failures are not reported.
void OpenAuthorWebPage(vantrel::WebPage page, int showCommand);
