'use strict';
// Building the page. Everything from the service reaches it as text nodes or attribute
// values, never as markup.

const Lang = {
  current: (() => {
    const kept = localStorage.getItem('tavelo.lang');
    if (kept === 'en' || kept === 'zh') return kept;
    return (navigator.language || '').toLowerCase().startsWith('zh') ? 'zh' : 'en';
  })(),
  set(lang) {
    this.current = lang;
    localStorage.setItem('tavelo.lang', lang);
  },
};

// The current language's text for `key`, with {0}, {1}... replaced by the arguments.
function t(key, ...args) {
  const text = TEXTS[Lang.current][key] ?? TEXTS.en[key] ?? key;
  return text.replace(/\{(\d)\}/g, (all, i) => (i < args.length ? String(args[i]) : all));
}

// el('p', {class: 'x', text: 'y', onclick: f}, child, 'more text')
function el(tag, attributes, ...children) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes || {})) {
    if (value === undefined || value === null || value === false) continue;
    if (name === 'text') node.textContent = String(value);
    else if (name.startsWith('on')) node.addEventListener(name.slice(2), value);
    else node.setAttribute(name, value === true ? '' : String(value));
  }
  for (const child of children) if (child !== null && child !== undefined) node.append(child);
  return node;
}

// The presets a processor stores, numbered 1..PRESETS as the service numbers them.
const PRESETS = 10;

const SVG = 'http://www.w3.org/2000/svg';
function svg(tag, attributes, ...children) {
  const node = document.createElementNS(SVG, tag);
  for (const [name, value] of Object.entries(attributes || {})) {
    if (name === 'text') node.textContent = String(value);
    else node.setAttribute(name, String(value));
  }
  for (const child of children) if (child) node.append(child);
  return node;
}

// A line that says how something went: polite for confirmations, assertive for refusals.
function notice(node, text, refused) {
  node.textContent = text;
  node.className = refused ? 'notice refused' : 'notice';
  node.setAttribute('role', refused ? 'alert' : 'status');
}

function when(ms) {
  return new Date(ms).toLocaleString(Lang.current === 'zh' ? 'zh-CN' : 'en-GB');
}
