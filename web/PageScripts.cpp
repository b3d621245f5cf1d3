#include "web/PageScripts.h"

#include "platform/Uuid.h"

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

namespace {

// Names nothing: the pages can see it in the key our guards share and in the
// message that pauses their media.
const std::string sharedToken = makeUUID();

std::string withToken(std::string source)
{
    for (auto at = source.find("%TOKEN%"); at != std::string::npos; at = source.find("%TOKEN%", at)) {
        source.replace(at, 7, sharedToken);
    }
    return source;
}

// Builds the guard of links and forms: an object whose `guard` guards the
// default actions of the events dispatched through a target, whose
// `guardEvent` is that guard for one event, and whose `sendRunsScript` tells
// whether sending a form would run script. Everything it uses is taken when it
// is built, at document start, so that a page that replaces a method later
// changes nothing here; nothing depends on the frame a node was made in, since
// a page can move nodes between its frames. It reads nodes only through
// getters that fit them, so a click costs one walk of its path and throws
// nothing.
const char* const guardFactory = R"JS(
(() => {
  const apply = Reflect.apply;
  const getter = (prototype, name) => Reflect.getOwnPropertyDescriptor(prototype, name).get;
  const { addEventListener, removeEventListener } = EventTarget.prototype;
  const { getAttribute, getAttributeNS, hasAttribute, hasAttributeNS, querySelectorAll } = Element.prototype;
  const nodeTypeOf = getter(Node.prototype, 'nodeType');
  const baseOf = getter(Node.prototype, 'baseURI');
  const { getRootNode } = Node.prototype;
  const findInDocument = Document.prototype.getElementById;
  const idIn = { 9: findInDocument, 11: DocumentFragment.prototype.getElementById };
  const localNameOf = getter(Element.prototype, 'localName');
  const namespaceOf = getter(Element.prototype, 'namespaceURI');
  const buttonTypeOf = getter(HTMLButtonElement.prototype, 'type');
  const buttonFormOf = getter(HTMLButtonElement.prototype, 'form');
  const inputTypeOf = getter(HTMLInputElement.prototype, 'type');
  const inputFormOf = getter(HTMLInputElement.prototype, 'form');
  const { composedPath, preventDefault } = Event.prototype;
  const typeOf = getter(Event.prototype, 'type');
  const targetOf = getter(Event.prototype, 'target');
  const submitterOf = getter(SubmitEvent.prototype, 'submitter');
  const { toLowerCase, indexOf, slice } = String.prototype;
  const Address = URL;
  const addressOf = getter(URL.prototype, 'href');
  const ownerDocumentOf = getter(Node.prototype, 'ownerDocument');
  const documentAddressOf = getter(Document.prototype, 'URL');
  const load = fetch;
  const { then } = Promise.prototype;
  const { text: textOf } = Response.prototype;
  const Parser = DOMParser;
  const { parseFromString: parse } = DOMParser.prototype;
  const Observer = MutationObserver;
  const { observe, disconnect } = MutationObserver.prototype;
  const later = setTimeout;
  const { get: lookUp, set: remember } = WeakMap.prototype;
  const html = 'http://www.w3.org/1999/xhtml';
  const svg = 'http://www.w3.org/2000/svg';
  const mathml = 'http://www.w3.org/1998/Math/MathML';
  const xlink = 'http://www.w3.org/1999/xlink';

  // The scheme as the engine's address parser reads it: after leading
  // controls and spaces, with tabs and line breaks anywhere dropped; none
  // for an address relative to the base.
  const schemeOf = (address) => {
    let index = 0;
    while (index < address.length && address[index] <= ' ') index++;
    let scheme = '';
    for (; index < address.length; index++) {
      const c = address[index];
      if (c === '\t' || c === '\n' || c === '\r') continue;
      if (c === ':') return scheme === '' ? null : apply(toLowerCase, scheme, []);
      const letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
      if (!letter && (scheme === '' || !((c >= '0' && c <= '9') || c === '+' || c === '-' || c === '.'))) return null;
      scheme += c;
    }
    return null;
  };
  const runsScript = (address, node) => {
    if (typeof address !== 'string') return false;
    return (schemeOf(address) ?? schemeOf(apply(baseOf, node, []))) === 'javascript';
  };

  // The elements of a path that a click may activate, nearest first: links
  // of HTML, SVG and MathML, SVG `use` elements (their copies of links live
  // in a tree no script reaches), and HTML buttons. Which kind an element is
  // never changes; whether it acts does, so that is read at each look.
  const link = 1, copy = 2, button = 3;
  const kindOf = (element) => {
    const space = apply(namespaceOf, element, []);
    if (space === mathml) return link;
    const name = apply(localNameOf, element, []);
    if (space === html) {
      if (name === 'a' || name === 'area') return link;
      if (name === 'button' || name === 'input') return button;
    } else if (space === svg) {
      if (name === 'a') return link;
      if (name === 'use') return copy;
    }
    return 0;
  };
  const candidatesOf = (path) => {
    const found = [];
    for (let index = 0; index < path.length; index++) {
      const type = apply(nodeTypeOf, path[index], []);
      if (type === 9) break;  // past the document is only its window
      if (type !== 1) continue;
      const kind = kindOf(path[index]);
      if (kind) found[found.length] = { element: path[index], kind };
    }
    return found;
  };

  // SVG links take either address attribute, the others only `href`.
  const addressesOf = (element) => apply(namespaceOf, element, []) === svg
      ? [apply(getAttribute, element, ['href']), apply(getAttributeNS, element, [xlink, 'href'])]
      : [apply(getAttribute, element, ['href'])];
  const isLink = (element) => apply(hasAttribute, element, ['href']) ||
      (apply(namespaceOf, element, []) === svg && apply(hasAttributeNS, element, [xlink, 'href']));
  const linkRunsScript = (element) => {
    const addresses = addressesOf(element);
    for (let index = 0; index < addresses.length; index++) {
      if (runsScript(addresses[index], element)) return true;
    }
    return false;
  };

  // What a `use` address copies: an element of its own document, found in
  // the `use` element's tree, or the address of another document's element.
  const stripFragment = (address) => {
    const hash = apply(indexOf, address, ['#']);
    return hash < 0 ? address : apply(slice, address, [0, hash]);
  };
  const referenceOf = (use, address) => {
    if (typeof address !== 'string') return null;
    const hash = apply(indexOf, address, ['#']);
    if (hash < 0) return null;
    const id = apply(slice, address, [hash + 1]);
    if (hash > 0) {
      let whole;
      try {
        whole = apply(addressOf, new Address(address, apply(baseOf, use, [])), []);
      } catch (error) {
        return null;
      }
      const own = apply(documentAddressOf, apply(ownerDocumentOf, use, []), []);
      if (stripFragment(whole) !== stripFragment(own)) return { whole, document: stripFragment(whole), id };
    }
    const root = apply(getRootNode, use, []);
    const find = idIn[apply(nodeTypeOf, root, [])];
    return { element: find ? apply(find, root, [id]) : null };
  };

  // What is known of the elements that `use` elements copy from other
  // documents: true when one holds a link that runs script, false when none
  // does, absent while being read. The engine reads the same files; they are
  // read again here as the pointer comes over a `use`, well before a click.
  const verdicts = new Map();
  const { get: verdictOf, set: record, has: known, delete: forget } = Map.prototype;
  const learn = (reference) => {
    if (apply(known, verdicts, [reference.whole])) return;
    apply(record, verdicts, [reference.whole, undefined]);
    const read = apply(then, load(reference.document, { __proto__: null, credentials: 'same-origin' }),
                       [(response) => apply(textOf, response, [])]);
    apply(then, read, [(text) => {
      const copied = apply(findInDocument, apply(parse, new Parser(), [text, 'image/svg+xml']), [reference.id]);
      apply(record, verdicts, [reference.whole, !!copied && holdsScriptLink(copied, [])]);
    }, () => apply(forget, verdicts, [reference.whole])]);
  };
  const learnCopies = (candidates) => {
    for (let index = 0; index < candidates.length; index++) {
      if (candidates[index].kind !== copy) continue;
      const addresses = addressesOf(candidates[index].element);
      for (let at = 0; at < addresses.length; at++) {
        const reference = referenceOf(candidates[index].element, addresses[at]);
        if (reference && reference.whole) learn(reference);
      }
    }
  };

  // Whether what a `use` copies holds a link that runs script, through the
  // `use` elements it holds in turn. A copy from another document not read
  // yet counts as one that does.
  const copyRunsScript = (use, seen = []) => {
    for (let index = 0; index < seen.length; index++) if (seen[index] === use) return false;
    seen[seen.length] = use;
    const addresses = addressesOf(use);
    for (let index = 0; index < addresses.length; index++) {
      const reference = referenceOf(use, addresses[index]);
      if (!reference) continue;
      if (reference.element && holdsScriptLink(reference.element, seen)) return true;
      if (reference.whole && apply(verdictOf, verdicts, [reference.whole]) !== false) {
        learn(reference);
        return true;
      }
    }
    return false;
  };
  const holdsScriptLink = (copied, seen) => {
    const inside = apply(querySelectorAll, copied, ['[*|href]']);
    for (let at = -1; at < inside.length; at++) {
      const element = at < 0 ? copied : inside[at];
      const kind = kindOf(element);
      if (kind === link && isLink(element) && linkRunsScript(element)) return true;
      if (kind === copy && copyRunsScript(element, seen)) return true;
    }
    return false;
  };

  const formOf = (element) => apply(apply(localNameOf, element, []) === 'button' ? buttonFormOf : inputFormOf, element, []);
  const isSubmitButton = (element) => {
    if (apply(localNameOf, element, []) === 'button') return apply(buttonTypeOf, element, []) === 'submit';
    const type = apply(inputTypeOf, element, []);
    return type === 'submit' || type === 'image';
  };
  const sendRunsScript = (form, submitter) => !!form && runsScript(
      submitter && apply(hasAttribute, submitter, ['formaction']) ? apply(getAttribute, submitter, ['formaction'])
                                                                  : apply(getAttribute, form, ['action']), form);

  // What a click would start: the nearest link with an address (an <a>
  // without one activates its ancestor), any copy of a link on the way to
  // it, and the nearest submit button's form. The path holds the nodes of
  // open shadow roots; WebKitGTK hides those of closed ones from other script
  // worlds, so the page's world guards each closed root it makes, where the
  // path reaches inside.
  const clickRunsScript = (candidates) => {
    let linkFound = false;
    let buttonFound = false;
    for (let index = 0; index < candidates.length && !(linkFound && buttonFound); index++) {
      const { element, kind } = candidates[index];
      if (kind === link && !linkFound && isLink(element)) {
        if (linkRunsScript(element)) return true;
        linkFound = true;
      } else if (kind === copy && !linkFound) {
        if (copyRunsScript(element)) return true;
      } else if (kind === button && !buttonFound && isSubmitButton(element)) {
        if (sendRunsScript(formOf(element), element)) return true;
        buttonFound = true;
      }
    }
    return false;
  };

  // Events being dispatched, with the check of their default action.
  const checks = new WeakMap();
  const checkAtTheEnd = (event) => {
    const check = apply(lookUp, checks, [event]);
    if (check && check()) apply(preventDefault, event, []);
  };
  const guardEvent = (event) => {
    const type = apply(typeOf, event, []);
    let check;
    let watched;
    let path = [];
    if (type === 'submit') {
      const form = apply(targetOf, event, []);
      let submitter = null;
      try {
        submitter = apply(submitterOf, event, []);
      } catch (error) {  // a plain event the page named "submit"
      }
      check = () => sendRunsScript(form, submitter);
      watched = [form, submitter];
    } else if (type === 'pointerover') {
      return learnCopies(candidatesOf(apply(composedPath, event, [])));
    } else {
      path = apply(composedPath, event, []);
      const candidates = candidatesOf(path);
      // Nothing on the way can ever start a navigation.
      if (candidates.length === 0) return;
      check = () => clickRunsScript(candidates);
      watched = [];
      for (let index = 0; index < candidates.length; index++) {
        const { element, kind } = candidates[index];
        watched[watched.length] = element;
        if (kind === button) watched[watched.length] = formOf(element);
        if (kind !== copy) continue;
        const addresses = addressesOf(element);
        for (let at = 0; at < addresses.length; at++) watched[watched.length] = referenceOf(element, addresses[at])?.element;
      }
    }
    if (check()) {
      apply(preventDefault, event, []);
      return;
    }
    // The page's handlers run after this one and may change an address
    // before the default action: look again after each of them (a trusted
    // event runs the observer between handlers), and after the last handler
    // of each target ahead, which also serves events that the page's script
    // dispatches: a handler that stops the event's propagation still lets
    // the rest of its own target's handlers run.
    const observer = new Observer(() => checkAtTheEnd(event));
    for (let index = 0; index < watched.length; index++) {
      if (watched[index]) apply(observe, observer, [watched[index], { __proto__: null, attributes: true, subtree: true }]);
    }
    later(() => apply(disconnect, observer, []));
    apply(remember, checks, [event, check]);
    if (type === 'submit') path = apply(composedPath, event, []);
    for (let index = 0; index < path.length; index++) {
      apply(removeEventListener, path[index], [type, checkAtTheEnd]);
      apply(addEventListener, path[index], [type, checkAtTheEnd]);
    }
  };
  // The middle button follows links through auxclick; forms submit through
  // submit; the pointer comes over what it may click with pointerover.
  const guard = (target, types = ['click', 'auxclick', 'submit', 'pointerover'], listener = guardEvent) => {
    for (let index = 0; index < types.length; index++) apply(addEventListener, target, [types[index], listener, true]);
  };
  return { guard, guardEvent, sendRunsScript };
})
)JS";

std::string withGuard(const char* install)
{
    return withToken(std::string("(() => {\n  const { guard: guardDefaultActions, guardEvent, sendRunsScript } = ") +
                     guardFactory + "();" + install + "})();\n");
}

}  // namespace

const std::string pauseMedia = withToken(R"JS(
return (() => {
  for (const media of document.querySelectorAll('video, audio')) {
    try { media.pause(); } catch (error) {}
  }
  for (let index = 0; index < window.frames.length; index++) {
    try { window.frames[index].postMessage('%TOKEN%', '*'); } catch (error) {}
  }
  return true;
})();
)JS");

const std::string pauseMediaRelay = withToken(R"JS(
(() => {
  if (window === window.top) return;
  window.addEventListener('message', (event) => {
    if (event.data !== '%TOKEN%' || event.source !== window.parent) return;
    for (const media of document.querySelectorAll('video, audio')) {
      try { media.pause(); } catch (error) {}
    }
    for (let index = 0; index < window.frames.length; index++) {
      try { window.frames[index].postMessage('%TOKEN%', '*'); } catch (error) {}
    }
  });
})();
)JS");

const std::string scriptLinkGuard = withGuard(R"JS(
  guardDefaultActions(window);
  // A form's submit event stays inside its shadow root: guard each root that
  // a key comes from, before the key can submit a form there.
  const guardedRoots = new WeakSet();
  window.addEventListener('keydown', (event) => {
    for (const node of event.composedPath()) {
      if (node.nodeType !== Node.DOCUMENT_FRAGMENT_NODE || !node.host || guardedRoots.has(node)) continue;
      guardedRoots.add(node);
      guardDefaultActions(node, ['submit']);
    }
  }, true);
)JS");

const std::string pageWorldScriptAddressGuard = withGuard(R"JS(
  const apply = Reflect.apply;
  const describe = Reflect.getOwnPropertyDescriptor;
  const getter = (prototype, name) => describe(prototype, name).get;
  const ownerDocumentOf = getter(Node.prototype, 'ownerDocument');
  const windowOf = getter(Document.prototype, 'defaultView');
  const modeOf = getter(ShadowRoot.prototype, 'mode');
  const formLengthOf = getter(HTMLFormElement.prototype, 'length');
  const isForm = (node) => {
    try {
      apply(formLengthOf, node, []);
      return true;
    } catch (error) {
      return false;
    }
  };

  // Each frame of the page shares its guard under this key, which the page
  // can read but neither replace nor remove. An event is guarded by the
  // guard of the frame its node lives in when it is dispatched: a page may
  // call the methods of another frame, even one it has removed, and move the
  // nodes they made; a removed frame's observers and timers never run.
  const sharedKey = Symbol.for('%TOKEN%');
  Reflect.defineProperty(window, sharedKey, { value: apply(Function.prototype.bind, (event) => guardEvent(event), [null]) });
  const currentTargetOf = getter(Event.prototype, 'currentTarget');
  const guardHome = (event) => {
    let home;
    try {
      home = describe(apply(windowOf, apply(ownerDocumentOf, apply(currentTargetOf, event, []), []), []), sharedKey)?.value;
    } catch (error) {  // its frame is gone
    }
    (typeof home === 'function' ? home : guardEvent)(event);
  };
  const guardWhereItLives = (node, types) => guardDefaultActions(node, types, guardHome);

  // The engine's methods, replaced by methods that behave as they do for the
  // page: the same name and length, no prototype, not constructors, the same
  // errors, and their source shown as the engine's. Each gets the very same
  // arguments.
  const engineMethods = new WeakMap();
  const { get: engineMethodOf, set: standFor } = WeakMap.prototype;
  const replaceMethod = (prototype, name, method) => {
    apply(standFor, engineMethods, [method, prototype[name]]);
    prototype[name] = method;
  };
  const sourceOf = Function.prototype.toString;
  replaceMethod(Function.prototype, 'toString', {
    toString() {
      return apply(sourceOf, apply(engineMethodOf, engineMethods, [this]) ?? this, arguments);
    },
  }.toString);

  const attachShadow = Element.prototype.attachShadow;
  replaceMethod(Element.prototype, 'attachShadow', {
    attachShadow(init) {
      const root = apply(attachShadow, this, arguments);
      if (apply(modeOf, root, []) === 'closed') guardWhereItLives(root);
      return root;
    },
  }.attachShadow);

  // A form sent by script fires no event: its address is checked here.
  const submit = HTMLFormElement.prototype.submit;
  replaceMethod(HTMLFormElement.prototype, 'submit', {
    submit() {
      if (isForm(this) && sendRunsScript(this, null)) return undefined;
      return apply(submit, this, arguments);
    },
  }.submit);

  // Its submit event stays in the form's own tree, where no other guard may
  // be: the form itself is guarded before it is sent.
  const requestSubmit = HTMLFormElement.prototype.requestSubmit;
  replaceMethod(HTMLFormElement.prototype, 'requestSubmit', {
    requestSubmit() {
      if (isForm(this)) guardWhereItLives(this, ['submit']);
      return apply(requestSubmit, this, arguments);
    },
  }.requestSubmit);
)JS");

}  // namespace meridavolt::PageScripts
