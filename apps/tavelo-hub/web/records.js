'use strict';
// A room's history: every version with its changes by name, and a rollback that asks first.

const Records = {
  newest: null,  // the id of the working set's newest version
  section(name) {
    return el('section', {'aria-labelledby': 'history-h', id: 'history', 'data-room': name},
              el('h2', {id: 'history-h', text: t('history')}),
              el('p', {class: 'notice', role: 'status', id: 'history-note'}),
              el('ol', {class: 'history', id: 'history-list'}));
  },

  async load(name) {
    const list = document.getElementById('history-list');
    const note = document.getElementById('history-note');
    if (!list) return;
    const reply = await Service.call('GET', Service.room(name) + '/history');
    if (reply.status !== 200) return notice(note, t('failed', reason(reply)), true);
    // Each slot's newest version is what the slot holds: no rollback to it.
    const seen = new Set();
    list.replaceChildren(...reply.data.map((version) => {
      const slot = version.slot > 0 ? version.slot : 0;
      const latest = !seen.has(slot);
      seen.add(slot);
      return this.entry(name, version, latest);
    }));
    const working = reply.data.find((version) => !(version.slot > 0));
    this.newest = working ? working.id : null;
    if (!reply.data.length) notice(note, t('noHistory'));
  },

  entry(name, version, latest) {
    const changes = version.changes || [];
    const where = !(version.slot > 0)
                      ? t('working') : t('slot', version.slot);
    const head = el('p', {class: 'version'},
                    el('strong', {text: t('version', version.id)}), ' · ', when(version.time),
                    ' · ', where, ' · ', this.sourceText(version.source),
                    version.user ? ' · ' + t('by', version.user) : '');
    const diff = el('ul', {class: 'diff'});
    for (const change of changes) {
      diff.append(el('li', {}, el('code', {text: change.name}), ': ',
                     el('del', {text: change.from}), ' → ', el('ins', {text: change.to})));
    }
    const item = el('li', {'data-slot': version.slot > 0 ? version.slot : 0}, head);
    if (changes.length) {
      item.append(el('details', {}, el('summary', {text: t('changes', changes.length)}), diff));
    }
    if (!latest) {
      const button = el('button', {type: 'button', class: 'rollback', 'data-version': version.id,
                                   text: t('rollback')});
      button.addEventListener('click', () => this.rollback(name, version.id, version.slot));
      item.append(button);
    }
    return item;
  },

  // A source the panel has no words for is shown as the service names it.
  sourceText(source) {
    const key = 'source.' + source;
    return key in TEXTS.en ? t(key) : String(source);
  },

  async rollback(name, id, slot) {
    const note = document.getElementById('history-note');
    const ask = slot > 0 ? t('rollbackSlotAsk', name, id, slot) : t('rollbackAsk', name, id);
    if (!window.confirm(ask)) return;
    notice(note, t('sending'));
    const reply = await Service.call('POST', Service.room(name) + '/rollback', {version: id});
    if (reply.status !== 200) return notice(note, t('refused', reason(reply)), true);
    notice(note, t('rolledBack', name, id));
    RoomView.refreshDetails();
  },
};
