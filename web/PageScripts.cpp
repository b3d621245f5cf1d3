#include "web/PageScripts.h"

#include <string>

namespace meridavolt::PageScripts {

const char* const capturePasteTarget = R"JS(
return (() => {
  const plainTextTypes = ['text', 'search', 'email', 'url', 'tel'];
  const element = document.activeElement;
  const isPlainText = !!element && (element.tagName === 'TEXTAREA' ||
      (element.tagName === 'INPUT' && plainTextTypes.includes(element.type)));
  const editable = !!element && !element.readOnly && !element.disabled &&
      (isPlainText || element.isContentEditable === true);
  globalThis.__meridavoltPasteTarget = editable ? element : null;
  return editable;
})();
)JS";

const char* const pasteSavedText = R"JS(
return ((text) => {
  const plainTextTypes = ['text', 'search', 'email', 'url', 'tel'];
  const element = globalThis.__meridavoltPasteTarget;
  globalThis.__meridavoltPasteTarget = null;
  if (!element || !element.isConnected || element.ownerDocument !== document ||
      element.readOnly || element.disabled) {
    return false;
  }
  const isPlainText = element.tagName === 'TEXTAREA' ||
      (element.tagName === 'INPUT' && plainTextTypes.includes(element.type));
  if (!isPlainText && element.isContentEditable !== true) return false;

  element.focus({ preventScroll: true });
  let start = 0;
  let end = 0;
  if (isPlainText) {
    const length = element.value.length;
    start = element.selectionStart ?? length;
    end = element.selectionEnd ?? start;
    // Checked before inserting: the insert command would cut the text to fit
    // and still report success.
    if (element.maxLength >= 0 && length - (end - start) + text.length > element.maxLength) return false;
  }
  if (document.execCommand('insertText', false, text)) return true;
  if (!isPlainText || typeof element.setRangeText !== 'function') return false;
  try {
    element.setRangeText(text, start, end, 'end');
  } catch (error) {
    return false;
  }
  element.dispatchEvent(new InputEvent('input', { bubbles: true, inputType: 'insertText', data: text }));
  return true;
})(text);
)JS";

const char* const pauseMedia = R"JS(
return (() => {
  for (const media of document.querySelectorAll('video, audio')) {
    try { media.pause(); } catch (error) {}
  }
  for (let index = 0; index < window.frames.length; index++) {
    try { window.frames[index].postMessage('meridavolt-pause-media', '*'); } catch (error) {}
  }
  return true;
})();
)JS";

const char* const pauseMediaRelay = R"JS(
(() => {
  if (window === window.top) return;
  window.addEventListener('message', (event) => {
    if (event.data !== 'meridavolt-pause-media' || event.source !== window.parent) return;
    for (const media of document.querySelectorAll('video, audio')) {
      try { media.pause(); } catch (error) {}
    }
    for (let index = 0; index < window.frames.length; index++) {
      try { window.frames[index].postMessage('meridavolt-pause-media', '*'); } catch (error) {}
    }
  });
})();
)JS";

namespace {

// Builds the guard of links and forms; what it returns guards the default
// actions of the events dispatched through a target. In the page's own world,
// methods the page may replace later are taken at document start, so that the
// page does not see our listeners come and go.
const char* const guardFactory = R"JS(
(() => {
  const apply = Reflect.apply;
  const { addEventListener, removeEventListener } = EventTarget.prototype;
  const xlink = 'http://www.w3.org/1999/xlink';
  const runsScript = (address, element) => {
    if (address === null) return false;
    try {
      return new URL(address, element.baseURI).protocol === 'javascript:';
    } catch (error) {
      return false;
    }
  };
  const isLink = (node) => (node.localName === 'a' || node.localName === 'area') &&
      (node.hasAttribute('href') || node.hasAttributeNS(xlink, 'href'));
  const isSubmitButton = (node) => node instanceof HTMLButtonElement ? node.type === 'submit'
      : node instanceof HTMLInputElement && (node.type === 'submit' || node.type === 'image');
  const submissionRunsScript = (form, submitter) => !!form && runsScript(
      submitter?.hasAttribute('formaction') ? submitter.getAttribute('formaction') : form.getAttribute('action'), form);

  // What a click would start: the nearest link with an address (an <a>
  // without one activates its ancestor) and the nearest submit button's form.
  // The path holds the nodes of open shadow roots; WebKitGTK hides those of
  // closed ones from other script worlds, so the page's world guards each
  // closed root it makes, where the path reaches inside.
  const clickRunsScript = (elements) => {
    const link = elements.find(isLink);
    if (link && runsScript(link.getAttribute('href') ?? link.getAttributeNS(xlink, 'href'), link)) return true;
    const button = elements.find(isSubmitButton);
    return !!button && submissionRunsScript(button.form, button);
  };

  // Events being dispatched, with the check of their default action.
  const checks = new WeakMap();
  const checkAtTheEnd = (event) => {
    if (checks.get(event)?.()) event.preventDefault();
  };
  const guard = (event) => {
    let check;
    let watched;
    if (event.type === 'submit') {
      check = () => submissionRunsScript(event.target, event.submitter);
      watched = [event.target, event.submitter];
    } else {
      const elements = event.composedPath().filter((node) => node instanceof Element);
      check = () => clickRunsScript(elements);
      watched = elements.concat(elements.filter(isSubmitButton).map((button) => button.form));
    }
    if (check()) {
      event.preventDefault();
      return;
    }
    // The page's handlers run after this one and may change an address
    // before the default action: look again after each of them (a trusted
    // event runs the observer between handlers), and once more last where
    // the event ends, which a page that stops the event's propagation skips.
    const observer = new MutationObserver(() => checkAtTheEnd(event));
    for (const element of watched) {
      if (element) observer.observe(element, { attributes: true });
    }
    setTimeout(() => observer.disconnect());
    checks.set(event, check);
    apply(removeEventListener, event.currentTarget, [event.type, checkAtTheEnd]);
    apply(addEventListener, event.currentTarget, [event.type, checkAtTheEnd]);
  };
  // The middle button follows links through auxclick; forms submit through submit.
  return (target, types = ['click', 'auxclick', 'submit']) => {
    for (const type of types) apply(addEventListener, target, [type, guard, true]);
  };
})
)JS";

std::string withGuard(const char* install)
{
    return std::string("(() => {\n  const guardDefaultActions = ") + guardFactory + "();" + install + "})();\n";
}

}  // namespace

const std::string scriptLinkGuard = withGuard(R"JS(
  guardDefaultActions(window);
  // A form's submit event stays inside its shadow root: guard each root that
  // a key comes from, before the key can submit a form there.
  const guardedRoots = new WeakSet();
  window.addEventListener('keydown', (event) => {
    for (const node of event.composedPath()) {
      if (!(node instanceof ShadowRoot) || guardedRoots.has(node)) continue;
      guardedRoots.add(node);
      guardDefaultActions(node, ['submit']);
    }
  }, true);
)JS");

const std::string closedRootScriptLinkGuard = withGuard(R"JS(
  const apply = Reflect.apply;
  const attachShadow = Element.prototype.attachShadow;
  const modeOf = Object.getOwnPropertyDescriptor(ShadowRoot.prototype, 'mode').get;
  // A method, as the engine's own is: the same name and length, no prototype,
  // not a constructor; the engine's method gets the very same arguments.
  Element.prototype.attachShadow = {
    attachShadow(init) {
      const root = apply(attachShadow, this, arguments);
      if (apply(modeOf, root, []) === 'closed') guardDefaultActions(root);
      return root;
    },
  }.attachShadow;
)JS");

}  // namespace meridavolt::PageScripts
