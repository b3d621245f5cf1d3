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

// Builds the guard of links and forms: an object whose `guard` guards the
// default actions of the events dispatched through a target and whose
// `sendRunsScript` tells whether sending a form would run script. Everything
// it uses is taken when it is built, at document start, so that a page that
// replaces a method later changes nothing here; nothing depends on the frame
// a node was made in, since a page can move nodes between its frames.
const char* const guardFactory = R"JS(
(() => {
  const apply = Reflect.apply;
  const getter = (prototype, name) => Reflect.getOwnPropertyDescriptor(prototype, name).get;
  const read = (method, target, ...values) => {
    try {
      return apply(method, target, values);
    } catch (error) {
      return undefined;
    }
  };
  const { addEventListener, removeEventListener } = EventTarget.prototype;
  const { getAttribute, getAttributeNS, hasAttribute, hasAttributeNS } = Element.prototype;
  const nodeTypeOf = getter(Node.prototype, 'nodeType');
  const baseOf = getter(Node.prototype, 'baseURI');
  const localNameOf = getter(Element.prototype, 'localName');
  const buttonTypeOf = getter(HTMLButtonElement.prototype, 'type');
  const buttonFormOf = getter(HTMLButtonElement.prototype, 'form');
  const inputTypeOf = getter(HTMLInputElement.prototype, 'type');
  const inputFormOf = getter(HTMLInputElement.prototype, 'form');
  const { composedPath, preventDefault } = Event.prototype;
  const typeOf = getter(Event.prototype, 'type');
  const targetOf = getter(Event.prototype, 'target');
  const submitterOf = getter(SubmitEvent.prototype, 'submitter');
  const Address = URL;
  const protocolOf = getter(URL.prototype, 'protocol');
  const Observer = MutationObserver;
  const { observe, disconnect } = MutationObserver.prototype;
  const later = setTimeout;
  const { get: lookUp, set: remember } = WeakMap.prototype;
  const xlink = 'http://www.w3.org/1999/xlink';

  const runsScript = (address, element) => {
    if (address === null || address === undefined) return false;
    try {
      return apply(protocolOf, new Address(address, apply(baseOf, element, [])), []) === 'javascript:';
    } catch (error) {
      return false;
    }
  };
  const isElement = (node) => read(nodeTypeOf, node) === 1;
  const isLink = (node) => {
    const name = read(localNameOf, node);
    return (name === 'a' || name === 'area') &&
        (apply(hasAttribute, node, ['href']) || apply(hasAttributeNS, node, [xlink, 'href']));
  };
  const linkRunsScript = (link) => runsScript(
      apply(getAttribute, link, ['href']) ?? apply(getAttributeNS, link, [xlink, 'href']), link);
  const isSubmitButton = (node) => {
    const buttonType = read(buttonTypeOf, node);
    if (buttonType !== undefined) return buttonType === 'submit';
    const inputType = read(inputTypeOf, node);
    return inputType === 'submit' || inputType === 'image';
  };
  const formOf = (button) => read(buttonFormOf, button) ?? read(inputFormOf, button);
  const sendRunsScript = (form, submitter) => !!form && runsScript(
      submitter && apply(hasAttribute, submitter, ['formaction']) ? apply(getAttribute, submitter, ['formaction'])
                                                                  : apply(getAttribute, form, ['action']), form);

  // What a click would start: the nearest link with an address (an <a>
  // without one activates its ancestor) and the nearest submit button's form.
  // The path holds the nodes of open shadow roots; WebKitGTK hides those of
  // closed ones from other script worlds, so the page's world guards each
  // closed root it makes, where the path reaches inside.
  const clickRunsScript = (path) => {
    let link = null;
    let button = null;
    for (let index = 0; index < path.length; index++) {
      const node = path[index];
      if (!isElement(node)) continue;
      if (!link && isLink(node)) link = node;
      if (!button && isSubmitButton(node)) button = node;
    }
    return (!!link && linkRunsScript(link)) || (!!button && sendRunsScript(formOf(button), button));
  };

  // Events being dispatched, with the check of their default action.
  const checks = new WeakMap();
  const checkAtTheEnd = (event) => {
    const check = apply(lookUp, checks, [event]);
    if (check && check()) apply(preventDefault, event, []);
  };
  const guardEvent = (event) => {
    const type = apply(typeOf, event, []);
    const form = type === 'submit' ? apply(targetOf, event, []) : null;
    const submitter = type === 'submit' ? read(submitterOf, event) ?? null : null;
    const path = type === 'submit' ? [] : apply(composedPath, event, []);
    const check = type === 'submit' ? () => sendRunsScript(form, submitter) : () => clickRunsScript(path);
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
    const watch = (node) => {
      if (node) apply(observe, observer, [node, { __proto__: null, attributes: true }]);
    };
    watch(form);
    watch(submitter);
    for (let index = 0; index < path.length; index++) {
      if (!isElement(path[index])) continue;
      watch(path[index]);
      if (isSubmitButton(path[index])) watch(formOf(path[index]));
    }
    later(() => apply(disconnect, observer, []));
    apply(remember, checks, [event, check]);
    const ahead = apply(composedPath, event, []);
    for (let index = 0; index < ahead.length; index++) {
      apply(removeEventListener, ahead[index], [type, checkAtTheEnd]);
      apply(addEventListener, ahead[index], [type, checkAtTheEnd]);
    }
  };
  // The middle button follows links through auxclick; forms submit through submit.
  const guard = (target, types = ['click', 'auxclick', 'submit']) => {
    for (let index = 0; index < types.length; index++) apply(addEventListener, target, [types[index], guardEvent, true]);
  };
  return { guard, sendRunsScript };
})
)JS";

std::string withGuard(const char* install)
{
    return std::string("(() => {\n  const { guard: guardDefaultActions, sendRunsScript } = ") + guardFactory + "();" +
           install + "})();\n";
}

}  // namespace

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
  // can read but neither replace nor remove. A node is guarded by the guard
  // of the frame it lives in: a page may call the methods of another frame,
  // even one it has removed, where observers and timers no longer run.
  const homeGuardKey = Symbol.for('meridavolt.guardDefaultActions');
  Reflect.defineProperty(window, homeGuardKey, { value: guardDefaultActions });
  const guardAtHome = (node, types) => {
    let home;
    try {
      home = describe(apply(windowOf, apply(ownerDocumentOf, node, []), []), homeGuardKey)?.value;
    } catch (error) {
    }
    (typeof home === 'function' ? home : guardDefaultActions)(node, types);
  };

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
      if (apply(modeOf, root, []) === 'closed') guardAtHome(root);
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
      if (isForm(this)) guardAtHome(this, ['submit']);
      return apply(requestSubmit, this, arguments);
    },
  }.requestSubmit);
)JS");

}  // namespace meridavolt::PageScripts
