#pragma once
// Text can only be drawn once the process has a QGuiApplication (fonts come
// from its platform). A command-line tool that draws figures calls this
// first: it creates one on Qt's offscreen platform, which needs no display,
// unless the process already has an application; it then lives until the
// process ends, and Qt's own notices below errors are no longer shown.

namespace movra {

void EnsurePaintingApplication();

} // namespace movra
