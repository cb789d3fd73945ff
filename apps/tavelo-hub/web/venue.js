'use strict';
// The venue at a glance: one tile per room, kept live by the event stream.

const VOLUME_NAMES = ['music.volume', 'mic.volume', 'effect.volume'];
const VOLUME_TEXT = {'music.volume': 'music', 'mic.volume': 'mic', 'effect.volume': 'effect'};

// A value as `show --json` writes it, as a short text.
function shownValue(value) {
  if (value === null || value === undefined) return '–';
  if (typeof value === 'object' && 'level' in value) return value.level + (value.on ? '' : ' (off)');
  if (typeof value === 'boolean') return value ? 'on' : 'off';
  return String(value);
}

function presetText(room) {
  if (!room.preset) return t('presetUnknown');
  return t('preset', room.preset) + (room.preset_name ? ' · ' + room.preset_name : '');
}

// Alarm words for a room: offline, or the service's own alarm flags where it sends them.
function alarmOf(room) {
  if (!room.online) return t('alarmOffline');
  if (room.differs || room.reference_differs) return t('alarmDiffers');
  if (typeof room.alarm === 'string' && room.alarm) return room.alarm;
  return '';
}

// The volumes the room list carries, under the names the values use.
function roomVolumes(room) {
  const volumes = room.volumes || {};
  return {'music.volume': volumes.music, 'mic.volume': volumes.mic,
          'effect.volume': volumes.effect};
}

const VenueView = {
  tiles: new Map(),  // room name -> {node, link, room}
  reloadTimer: null,

  async show(main) {
    this.tiles.clear();
    const heading = el('h1', {text: t('rooms')});
    const status = el('p', {class: 'notice', role: 'status', text: t('loading')});
    const grid = el('ul', {class: 'tiles', 'aria-label': t('rooms')});
    main.replaceChildren(heading, status, grid);
    const reply = await Service.call('GET', 'rooms');
    if (reply.status !== 200) return notice(status, t('failed', reason(reply)), true);
    status.textContent = reply.data.length ? '' : t('noRooms');
    for (const room of reply.data) {
      const entry = {room, node: el('li', {class: 'tile'})};
      this.tiles.set(room.name, entry);
      grid.append(entry.node);
      this.draw(entry);
    }
  },

  draw(entry) {
    const room = entry.room;
    const alarm = alarmOf(room);
    const values = roomVolumes(room);
    const volumes = el('dl', {class: 'volumes'});
    for (const key of ['music.volume', 'mic.volume']) {
      volumes.append(el('div', {}, el('dt', {text: t(VOLUME_TEXT[key])}),
                        el('dd', {'data-name': key, text: shownValue(values[key])})));
    }
    // The link element stays across redraws, so a tap in flight or the keyboard focus on a
    // tile survives a live update; only its contents and state are replaced.
    if (!entry.link) {
      entry.link = el('a', {href: '#/room/' + encodeURIComponent(room.name)});
      entry.node.replaceChildren(entry.link);
    }
    entry.link.className = room.online ? 'room online' : 'room offline';
    entry.link.setAttribute('aria-label', t('openRoom', room.name));
    const parts = [el('span', {class: 'name', text: room.name}),
                   el('span', {class: 'state', text: room.online ? t('online') : t('offline')}),
                   el('span', {class: 'preset', text: presetText(room)}), volumes];
    if (room.locked) parts.push(el('span', {class: 'lock', text: '🔒 ' + t('locked')}));
    if (alarm) {
      parts.push(el('span', {class: 'alarm', role: 'img', 'aria-label': alarm, title: alarm,
                             text: '!'}));
    }
    entry.link.replaceChildren(...parts);
  },

  onEvent(event) {
    const entry = this.tiles.get(event.room);
    if (entry && event.values && typeof event.values === 'object') {
      const volumes = Object.assign({}, entry.room.volumes);
      for (const [key, short] of [['music.volume', 'music'], ['mic.volume', 'mic'],
                                  ['effect.volume', 'effect']]) {
        if (key in event.values) volumes[short] = event.values[key];
      }
      entry.room.volumes = volumes;
      this.draw(entry);
    }
    // Anything else about a room (link, preset, lock, front panel) comes from a fresh list.
    if (!event.values) {
      clearTimeout(this.reloadTimer);
      this.reloadTimer = setTimeout(() => this.refreshRooms(), 100);
    }
  },

  async refreshRooms() {
    const reply = await Service.call('GET', 'rooms');
    if (reply.status !== 200) return;
    for (const room of reply.data) {
      const entry = this.tiles.get(room.name);
      if (!entry) continue;
      entry.room = room;
      this.draw(entry);
    }
  },
};
