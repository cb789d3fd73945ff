'use strict';
// One room: the volumes, mute and recall for everyone who may use them; for the installer and
// the owner also the EQ curves, every value by its name, the caps, the history and roll-outs.

// The text `set` takes for a value in its `show --json` form.
function setText(value) {
  if (typeof value === 'boolean') return value ? 'on' : 'off';
  if (value && typeof value === 'object' && 'level' in value) {
    return value.level + (value.on ? ' on' : ' off');
  }
  return value === null || value === undefined ? '' : String(value);
}

const RoomView = {
  name: null,
  room: null,
  names: new Map(),   // settable name -> {min, max, values, unit}
  caps: {},
  confirmed: {},      // name -> value as the service last confirmed it
  sliders: new Map(), // name -> {input, output, note}
  pending: new Map(), // name -> value waiting behind a write in flight
  sheetTimer: null,
  roomTimer: null,

  async show(main, name) {
    this.name = name;
    this.sliders.clear();
    this.pending.clear();
    const status = el('p', {class: 'notice', role: 'status', text: t('loading')});
    main.replaceChildren(el('a', {href: '#/', class: 'back', text: t('back')}),
                         el('h1', {text: name}), status);
    const [rooms, values, caps, names] = await Promise.all([
      Service.call('GET', 'rooms'), Service.call('GET', Service.room(name) + '/values'),
      Service.call('GET', Service.room(name) + '/caps'), Service.call('GET', 'names')]);
    if (this.name !== name) return;
    if (rooms.status !== 200) return notice(status, t('failed', reason(rooms)), true);
    this.room = rooms.data.find((room) => room.name === name);
    if (!this.room) return notice(status, t('failed', reason({status: 404, data: {}})), true);
    this.caps = caps.status === 200 ? caps.data : {};
    this.names = new Map(names.status === 200 ? names.data.map((row) => [row.name, row]) : []);
    this.confirmed = values.status === 200 ? values.data : {};

    status.replaceChildren();
    const header = el('p', {class: 'roomstate'},
                      el('span', {class: this.room.online ? 'state online' : 'state offline',
                                  text: this.room.online ? t('online') : t('offline')}),
                      ' · ', el('span', {id: 'preset', text: presetText(this.room)}),
                      this.room.locked ? ' · ' + t('locked') : '');
    main.append(header);
    if (values.status !== 200) notice(status, t('failed', reason(values)), true);
    main.append(this.controls());
    if (Service.installer()) {
      main.append(this.capsForm());
      const curves = el('section', {'aria-labelledby': 'curves-h'},
                        el('h2', {id: 'curves-h', text: t('curves')}));
      const sheet = el('section', {'aria-labelledby': 'values-h', id: 'sheet'},
                       el('h2', {id: 'values-h', text: t('values')}));
      Records.newest = null;
      main.append(curves, sheet, Records.section(name), Rollout.section(name, rooms.data));
      this.drawCurves(curves);
      this.drawSheet(sheet);
      Records.load(name);
    }
  },

  // The sliders, mute and recall: staff's controls, and the installer's quick ones.
  controls() {
    const box = el('section', {'aria-labelledby': 'volumes-h', class: 'controls'},
                   el('h2', {id: 'volumes-h', text: t('volumes')}));
    for (const name of VOLUME_NAMES) {
      const row = this.names.get(name);
      if (!row || !(name in this.confirmed)) continue;
      const cap = name in this.caps ? this.caps[name] : null;
      const max = cap === null ? row.max : Math.min(row.max, cap);
      const id = 'v-' + name.replace('.', '-');
      const input = el('input', {type: 'range', id, min: row.min, max, step: 1,
                                 value: this.confirmed[name], name,
                                 'aria-describedby': id + '-cap ' + id + '-note'});
      const output = el('output', {for: id, text: shownValue(this.confirmed[name])});
      const note = el('p', {id: id + '-note', class: 'notice'});
      input.addEventListener('input', () => { output.textContent = input.value; });
      input.addEventListener('change', () => this.write(name, Number(input.value)));
      this.sliders.set(name, {input, output, note});
      box.append(el('div', {class: 'slider'},
                        el('label', {for: id, text: t(VOLUME_TEXT[name])}), output,
                        input,
                        el('span', {id: id + '-cap', class: 'cap',
                                    text: cap === null ? '' : t('cap', cap)}),
                        note));
    }
    const actions = el('div', {class: 'actions'});
    const muteNote = el('p', {class: 'notice'});
    const mute = el('button', {type: 'button', 'aria-pressed': 'false', class: 'mute',
                               text: t('mute')});
    mute.addEventListener('click', async () => {
      const on = mute.getAttribute('aria-pressed') !== 'true';
      notice(muteNote, t('sending'));
      const reply = await Service.call('PATCH', Service.room(this.name) + '/values', {mute: on});
      if (reply.status !== 200) return notice(muteNote, t('refused', reason(reply)), true);
      mute.setAttribute('aria-pressed', String(on));
      mute.textContent = on ? t('muted') : t('mute');
      notice(muteNote, on ? t('muted') : t('confirmed', t('mute'), 'off'));
    });
    const choice = el('select', {id: 'recall-preset', 'aria-label': t('recallLabel')});
    for (let n = 1; n <= PRESETS; ++n) {
      choice.append(el('option', {value: n, text: n === this.room.preset && this.room.preset_name
                                      ? t('preset', n) + ' · ' + this.room.preset_name
                                      : t('preset', n),
                                  selected: n === this.room.preset}));
    }
    const recallNote = el('p', {class: 'notice'});
    const recall = el('button', {type: 'button', text: t('recall')});
    recall.addEventListener('click', async () => {
      const preset = Number(choice.value);
      notice(recallNote, t('sending'));
      const reply = await Service.call('POST', Service.room(this.name) + '/recall', {preset});
      if (reply.status !== 200) return notice(recallNote, t('refused', reason(reply)), true);
      this.room = reply.data;
      document.getElementById('preset').textContent = presetText(this.room);
      notice(recallNote, t('recalled', preset));
      if (Service.installer()) this.refreshDetails();
    });
    actions.append(mute, el('span', {class: 'recall'},
                            el('label', {for: 'recall-preset', text: t('recallLabel')}),
                            choice, recall), muteNote, recallNote);
    box.append(actions);
    return box;
  },

  // One write per name in flight; a newer value waits behind it, an older one is dropped.
  async write(name, value) {
    const slider = this.sliders.get(name);
    if (slider.input.getAttribute('aria-busy') === 'true') {
      this.pending.set(name, value);
      return;
    }
    slider.input.setAttribute('aria-busy', 'true');
    notice(slider.note, t('sending'));
    const reply = await Service.call('PATCH', Service.room(this.name) + '/values', {[name]: value});
    slider.input.removeAttribute('aria-busy');
    if (reply.status === 200 && name in reply.data) {
      this.confirmed[name] = reply.data[name];
      notice(slider.note, t('confirmed', t(VOLUME_TEXT[name]), shownValue(reply.data[name])));
    } else {
      notice(slider.note, t('refused', reason(reply)), true);
    }
    this.showValue(name);
    if (this.pending.has(name)) {
      const next = this.pending.get(name);
      this.pending.delete(name);
      if (next !== this.confirmed[name]) this.write(name, next);
    }
  },

  showValue(name) {
    const slider = this.sliders.get(name);
    if (!slider || slider.input.getAttribute('aria-busy') === 'true') return;
    const value = this.confirmed[name];
    slider.input.value = typeof value === 'object' && value ? value.level : value;
    slider.output.textContent = shownValue(value);
  },

  capsForm() {
    const form = el('form', {class: 'caps', 'aria-labelledby': 'caps-h'},
                    el('h2', {id: 'caps-h', text: t('caps')}));
    const inputs = {};
    for (const name of VOLUME_NAMES) {
      const row = this.names.get(name);
      if (!row) continue;
      const id = 'cap-' + name.replace('.', '-');
      inputs[name] = el('input', {type: 'number', id, min: row.min, max: row.max, step: 1,
                                  value: name in this.caps ? this.caps[name] : ''});
      form.append(el('label', {for: id, text: t('capLabel', t(VOLUME_TEXT[name]))}), inputs[name]);
    }
    const note = el('p', {class: 'notice'});
    form.append(el('button', {type: 'submit', text: t('saveCaps')}), note);
    form.addEventListener('submit', async (e) => {
      e.preventDefault();
      const caps = {};
      for (const [name, input] of Object.entries(inputs)) {
        if (input.value !== '') caps[name] = Number(input.value);
      }
      const reply = await Service.call('PUT', Service.room(this.name) + '/caps', caps);
      if (reply.status !== 200) return notice(note, t('refused', reason(reply)), true);
      this.caps = reply.data;
      notice(note, t('capsSaved'));
      for (const [name, slider] of this.sliders) {
        const row = this.names.get(name);
        const cap = name in this.caps ? this.caps[name] : null;
        slider.input.max = cap === null ? row.max : Math.min(row.max, cap);
        document.getElementById(slider.input.id + '-cap').textContent =
            cap === null ? '' : t('cap', cap);
      }
    });
    return form;
  },

  // The room's `what` for a section: what was drawn before goes, a failure is said there.
  async readFor(section, what, drawn) {
    const reply = await Service.call('GET', Service.room(this.name) + '/' + what);
    section.querySelectorAll(drawn + ', .notice').forEach((node) => node.remove());
    if (reply.status === 200) return reply.data;
    section.append(el('p', {class: 'notice refused', role: 'alert',
                            text: t('failed', reason(reply))}));
    return null;
  },

  async drawCurves(section) {
    const curves = await this.readFor(section, 'curves', '.eqs');
    if (!curves) return;
    const grid = el('div', {class: 'eqs'});
    for (const set of curves.sets) grid.append(curveFigure(set, curves.hz, curves.axes));
    section.append(grid);
  },

  async drawSheet(section) {
    const sheet = await this.readFor(section, 'sheet', '.pages, .filter');
    if (!sheet) return;
    const pages = el('div', {class: 'pages'});
    const filter = el('input', {type: 'search', class: 'filter', 'aria-label': t('filter'),
                                placeholder: t('filter')});
    filter.addEventListener('input', () => {
      const words = filter.value.toLowerCase();
      for (const row of pages.querySelectorAll('tr[data-find]')) {
        row.hidden = words !== '' && !row.dataset.find.includes(words);
      }
    });
    sheet.forEach((page, index) => {
      const body = el('tbody');
      for (const row of page.rows) body.append(this.sheetRow(row));
      pages.append(el('details', {open: index === 0},
                      el('summary', {text: page.title[Lang.current]}),
                      el('table', {}, body)));
    });
    section.append(filter, pages);
  },

  sheetRow(row) {
    const caption = row.caption[Lang.current];
    const cells = [el('th', {scope: 'row'}, caption, el('code', {text: row.name})),
                   el('td', {class: 'value', text: row.value[Lang.current]})];
    const settable = this.names.get(row.name);
    if (settable) {
      const input = el('input', {type: 'text', value: setText(this.confirmed[row.name]),
                                 'aria-label': t('editLabel', row.name),
                                 title: t('range', settable.values, settable.unit)});
      const note = el('span', {class: 'notice'});
      const form = el('form', {class: 'edit'}, input,
                      el('button', {type: 'submit', text: t('edit')}), note);
      form.addEventListener('submit', async (e) => {
        e.preventDefault();
        notice(note, t('sending'));
        const reply = await Service.call('PATCH', Service.room(this.name) + '/values',
                                         {[row.name]: input.value});
        if (reply.status !== 200) {
          input.value = setText(this.confirmed[row.name]);
          return notice(note, t('refused', reason(reply)), true);
        }
        Object.assign(this.confirmed, reply.data);
        notice(note, t('confirmed', row.name, shownValue(reply.data[row.name])));
        this.refreshDetails();
      });
      cells.push(el('td', {}, form));
    } else {
      cells.push(el('td'));
    }
    return el('tr', {'data-find': (caption + ' ' + row.name).toLowerCase()}, ...cells);
  },

  // The curves and the value pages again, a moment after the last change.
  refreshDetails() {
    clearTimeout(this.sheetTimer);
    this.sheetTimer = setTimeout(() => {
      const curves = document.querySelector('[aria-labelledby="curves-h"]');
      const sheet = document.getElementById('sheet');
      if (curves) this.drawCurves(curves);
      if (sheet) this.drawSheet(sheet);
      Records.load(this.name);
    }, 300);
  },

  onEvent(event) {
    if (event.room !== this.name) return;
    if (event.values && typeof event.values === 'object') {
      Object.assign(this.confirmed, event.values);
      for (const name of Object.keys(event.values)) this.showValue(name);
    }
    if (!event.values) {
      clearTimeout(this.roomTimer);
      this.roomTimer = setTimeout(() => this.refreshRoom(), 100);
    }
    if (Service.installer()) this.refreshDetails();
  },

  // The room's line of the list again: link, preset, lock and the volumes the status poll saw.
  async refreshRoom() {
    const name = this.name;
    const reply = await Service.call('GET', 'rooms');
    const room = reply.status === 200 && reply.data.find((r) => r.name === name);
    if (!room || this.name !== name) return;
    this.room = room;
    const preset = document.getElementById('preset');
    if (preset) preset.textContent = presetText(room);
    for (const [key, value] of Object.entries(roomVolumes(room))) {
      if (value === null || value === undefined || value === this.confirmed[key]) continue;
      this.confirmed[key] = value;
      this.showValue(key);
    }
  },
};
