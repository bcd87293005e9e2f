// Runs in an isolated world of the audited page: lists every text a reader sees, with what the
// audit needs to judge it, and makes the texts transparent or shows them again.
(() => {
  if (globalThis.pigmoraAudit) return;
  const HTML = 'http://www.w3.org/1999/xhtml';
  const IGNORED = new Set(['SCRIPT', 'STYLE', 'NOSCRIPT', 'TEMPLATE', 'TITLE', 'TEXTAREA', 'OPTION']);
  const TEXTLESS = '*,*::before,*::after,*::marker,*::first-letter,*::first-line,*::placeholder{' +
    '-webkit-text-fill-color:transparent!important;-webkit-text-stroke-color:transparent!important;' +
    'text-decoration-color:transparent!important;text-emphasis-color:transparent!important;' +
    'caret-color:transparent!important}';
  const FIXED = '[data-pigmora-fixed]{opacity:0!important}';
  const STICKY = '[data-pigmora-sticky]{position:relative!important;inset:auto!important}';
  const sheet = new CSSStyleSheet();
  const roots = [document];
  // The parent in the flat tree: a slotted node's slot, a shadow root's host.
  const parentOf = (e) => e.assignedSlot || e.parentElement || (e.parentNode && e.parentNode.host) || null;

  function adopt(root) { root.adoptedStyleSheets = [...root.adoptedStyleSheets, sheet]; }
  function setState(hideText, hideFixed) {
    sheet.replaceSync(STICKY + (hideText ? TEXTLESS : '') + (hideFixed ? FIXED : ''));
  }

  // Selectors: an id where it is unique in its root, else tag:nth-of-type() steps; shadow
  // hosts are joined to their contents by " >>> ".
  const selectors = new Map();
  const typeIndex = new Map(); // element: its nth-of-type, 0 when alone of its type
  const indexed = new Set();
  function indexOfType(e) {
    const parent = e.parentNode;
    if (!indexed.has(parent)) {
      const counts = new Map();
      for (const child of parent.children) {
        const n = (counts.get(child.localName) || 0) + 1;
        counts.set(child.localName, n);
        typeIndex.set(child, n);
      }
      for (const child of parent.children)
        if (counts.get(child.localName) === 1) typeIndex.set(child, 0);
      indexed.add(parent);
    }
    return typeIndex.get(e);
  }
  function selectorOf(e) {
    if (selectors.has(e)) return selectors.get(e);
    const root = e.getRootNode();
    let s;
    if (e.id && root.querySelectorAll('#' + CSS.escape(e.id)).length === 1) {
      s = '#' + CSS.escape(e.id);
    } else {
      const n = e.parentNode === root && root === document ? 0 : indexOfType(e);
      const step = e.localName + (n ? ':nth-of-type(' + n + ')' : '');
      s = e.parentElement ? selectorOf(e.parentElement) + ' > ' + step : step;
    }
    if (root !== document && !e.parentElement) s = selectorOf(root.host) + ' >>> ' + s;
    else if (root !== document && s.startsWith('#')) s = selectorOf(root.host) + ' >>> ' + s;
    selectors.set(e, s);
    return s;
  }

  function disabled(e) {
    for (let a = e; a; a = parentOf(a)) {
      if (a.getAttribute && a.getAttribute('aria-disabled') === 'true') return true;
      if (a.matches && a.matches(':disabled')) return true;
      if (a.localName === 'label' && a.control && a.control.matches(':disabled')) return true;
    }
    return false;
  }

  // The rectangles the element and its ancestors clip its text to (null: clipped away
  // whole); an ancestor that is no containing block of a positioned descendant does not clip it.
  function clipRects(e) {
    const clips = [];
    let position = 'static';
    for (let a = e; a && position !== 'fixed'; a = parentOf(a)) {
      const cs = getComputedStyle(a);
      const containing = a === e || position !== 'absolute' || cs.position !== 'static' ||
        cs.transform !== 'none';
      if (!containing) continue;
      if (cs.overflowX !== 'visible' || cs.overflowY !== 'visible') {
        const r = a.getBoundingClientRect();
        clips.push([r.left + a.clientLeft, r.top + a.clientTop, a.clientWidth, a.clientHeight,
                    cs.overflowX !== 'visible', cs.overflowY !== 'visible']);
      }
      if (/rect\(0px,? 0px,? 0px,? 0px\)/.test(cs.clip) || /^inset\(50%/.test(cs.clipPath)) return null;
      if (cs.position !== 'static') position = cs.position;
    }
    return clips;
  }

  function collect() {
    const skipped = {hidden: 0, offscreen: 0, clipped: 0, opacity: 0, ariaHidden: 0, disabled: 0};
    const texts = [];
    const docWidth = document.documentElement.scrollWidth;
    const docHeight = document.documentElement.scrollHeight;
    const range = document.createRange();
    const opacities = new Map();
    const opacityOf = (e) => {
      if (!e) return 1;
      if (!opacities.has(e)) opacities.set(e, Number(getComputedStyle(e).opacity) * opacityOf(parentOf(e)));
      return opacities.get(e);
    };
    const ariaHidden = (e) => {
      for (let a = e; a; a = parentOf(a))
        if (a.getAttribute && a.getAttribute('aria-hidden') === 'true') return true;
      return false;
    };
    // First every shadow root, and the fixed and sticky elements marked.
    for (let i = 0; i < roots.length; ++i) {
      const walker = document.createTreeWalker(roots[i], NodeFilter.SHOW_ELEMENT);
      for (let n = walker.nextNode(); n; n = walker.nextNode()) {
        if (n.shadowRoot && !roots.includes(n.shadowRoot)) { roots.push(n.shadowRoot); adopt(n.shadowRoot); }
        const p = getComputedStyle(n).position;
        if (p === 'fixed') n.setAttribute('data-pigmora-fixed', '');
        if (p === 'sticky') n.setAttribute('data-pigmora-sticky', '');
      }
    }
    for (const root of roots) {
      const walker = document.createTreeWalker(root, NodeFilter.SHOW_TEXT);
      for (let n = walker.nextNode(); n; n = walker.nextNode()) {
        if (!/\S/.test(n.data)) continue;
        const e = n.assignedSlot || n.parentElement;
        if (!e || e.namespaceURI !== HTML || IGNORED.has(e.tagName) || e.closest('head')) continue;
        if (ariaHidden(e)) { skipped.ariaHidden++; continue; }
        if (disabled(e)) { skipped.disabled++; continue; }
        if (!e.checkVisibility({visibilityProperty: true, checkVisibilityCSS: true, contentVisibilityAuto: true})) { skipped.hidden++; continue; }
        const opacity = opacityOf(e);
        if (opacity === 0) { skipped.opacity++; continue; }
        range.selectNodeContents(n);
        const rects = [...range.getClientRects()].filter((r) => r.width > 0 && r.height > 0);
        if (rects.length === 0) { skipped.hidden++; continue; }
        const inside = rects.filter((r) => r.right + scrollX > 0 && r.bottom + scrollY > 0 &&
          r.left + scrollX < docWidth && r.top + scrollY < docHeight);
        if (inside.length === 0) { skipped.offscreen++; continue; }
        const clips = clipRects(e);
        const boxes = [];
        for (const r of inside) {
          let [x0, y0, x1, y1] = [r.left, r.top, r.right, r.bottom];
          for (const [cx, cy, cw, ch, clipX, clipY] of clips || []) {
            if (clipX) { x0 = Math.max(x0, cx); x1 = Math.min(x1, cx + cw); }
            if (clipY) { y0 = Math.max(y0, cy); y1 = Math.min(y1, cy + ch); }
          }
          if (clips && x1 > x0 && y1 > y0) boxes.push(x0 + scrollX, y0 + scrollY, x1 - x0, y1 - y0);
        }
        if (boxes.length === 0) { skipped.clipped++; continue; }
        const cs = getComputedStyle(e);
        texts.push([selectorOf(e), n.data.replace(/\s+/g, ' ').trim().slice(0, 2000),
                    cs.webkitTextFillColor || cs.color, opacity, parseFloat(cs.fontSize),
                    Number(cs.fontWeight) || 400, boxes]);
      }
    }
    return JSON.stringify({width: docWidth, height: docHeight, skipped, texts});
  }

  // Squares of the given colours, 4 by 4 pixels each, 64 a row, at the viewport's top left, so
  // the browser's colour-vision emulation can be read off them.
  let swatchBox = null;
  function showSwatches(colours) {
    swatchBox = document.createElement('div');
    swatchBox.style.cssText = 'position:fixed;left:0;top:0;z-index:2147483647;width:256px;' +
      'display:flex;flex-wrap:wrap;margin:0;padding:0;opacity:1;filter:none;transform:none';
    for (const c of colours) {
      const d = document.createElement('div');
      d.style.cssText = 'width:4px;height:4px;flex:none;background:' + c;
      swatchBox.append(d);
    }
    document.documentElement.append(swatchBox);
  }
  function hideSwatches() { if (swatchBox) swatchBox.remove(); swatchBox = null; }

  adopt(document);
  setState(false, false);
  globalThis.pigmoraAudit = {collect, setState, showSwatches, hideSwatches};
})();
