#pragma once

#include <string>

// The scripts our sessions run in pages, in our own script world
// (scriptWorldName) so that the page's scripts can neither see nor change the
// field we remember; only pageWorldScriptAddressGuard runs in the page's world.
// Each is a function body; the engine passes arguments as named variables, so
// user text is never part of the source. Bodies keep their declarations inside
// an inner function, so repeated runs in the same world never collide.
namespace meridavolt::PageScripts {

// Remembers the focused editable element (a text-like input, a textarea or
// editable content) in globalThis.__meridavoltPasteTarget, or forgets the old
// one; returns whether there was one.
extern const char* const capturePasteTarget;

// With the argument `text`: inserts it into the remembered element as typed
// input, replacing the selection; a target serves one paste. Returns false,
// leaving the field unchanged, when the element is gone, read-only, disabled,
// or when the text would not fit its maximum length.
extern const char* const pasteSavedText;

// Pauses every video and audio element of the main frame and asks every
// child frame to do the same.
extern const std::string pauseMedia;

// Installed in every frame at document start: answers the child-frame request
// of pauseMedia and passes it on to the frame's own children.
extern const std::string pauseMediaRelay;

// Installed in every frame at document start: a link (HTML, SVG or MathML,
// or one that an SVG `use` copies) or a form whose address runs script
// ("javascript:") does nothing, whether clicked, middle-clicked or submitted. The engine runs such addresses without asking the session, so
// this cancels the event's default action; the page's own handlers still run.
extern const std::string scriptLinkGuard;

// Installed in every frame at document start, in the page's own world: the
// same guard where no other world can reach. It wraps the methods that make
// closed shadow roots (Element.prototype.attachShadow) and send forms by
// script (HTMLFormElement.prototype.submit, requestSubmit), which behave as
// before for the page, and guards each closed root as it is made and each
// form as it is sent. Closed roots declared in the markup are made by the
// parser, out of its reach.
extern const std::string pageWorldScriptAddressGuard;

}  // namespace meridavolt::PageScripts
