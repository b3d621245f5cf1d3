#include "web/PageScripts.h"

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

const char* const scriptLinkGuard = R"JS(
(() => {
  const xlink = 'http://www.w3.org/1999/xlink';
  const runsScript = (link) => {
    const href = link.getAttribute('href') ?? link.getAttributeNS(xlink, 'href');
    if (href === null) return false;
    try {
      return new URL(href, link.baseURI).protocol === 'javascript:';
    } catch (error) {
      return false;
    }
  };
  window.addEventListener('click', (event) => {
    for (const node of event.composedPath()) {
      if (!(node instanceof Element)) continue;
      if (node.localName !== 'a' && node.localName !== 'area') continue;
      if (runsScript(node)) event.preventDefault();
      return;
    }
  }, true);
})();
)JS";

}  // namespace meridavolt::PageScripts
