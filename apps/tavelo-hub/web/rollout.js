'use strict';
// A staged roll-out of the open room's current content to chosen rooms, with its progress.

const Rollout = {
  id: null,
  timer: null,

  section(name, rooms) {
    const choices = el('fieldset', {class: 'choices'}, el('legend', {text: t('rolloutRooms')}));
    for (const room of rooms) {
      if (room.name === name) continue;
      const id = 'to-' + room.name;
      choices.append(el('span', {class: 'choice'},
                        el('input', {type: 'checkbox', id, value: room.name, name: 'to'}),
                        el('label', {for: id, text: room.name})));
    }
    const first = el('input', {type: 'number', id: 'rollout-first', min: 1, value: 1, step: 1});
    const slot = el('select', {id: 'rollout-slot'},
                    el('option', {value: 0, text: t('rolloutPlaying')}));
    for (let n = 1; n <= PRESETS; ++n) slot.append(el('option', {value: n, text: t('preset', n)}));
    const note = el('p', {class: 'notice', id: 'rollout-note'});
    const form = el('form', {class: 'rollout'}, choices,
                    el('label', {for: 'rollout-first', text: t('rolloutFirst')}), first,
                    el('label', {for: 'rollout-slot', text: t('rolloutInto')}), slot,
                    el('button', {type: 'submit', text: t('rolloutStart')}));
    form.addEventListener('submit', (e) => {
      e.preventDefault();
      const chosen = [...form.querySelectorAll('input[name=to]:checked')].map((box) => box.value);
      this.start(chosen, Number(first.value) || 1, Number(slot.value), note);
    });
    return el('section', {'aria-labelledby': 'rollout-h'},
              el('h2', {id: 'rollout-h', text: t('rollout')}),
              el('p', {text: t('rolloutIntro')}), form, note,
              el('ul', {class: 'progress', id: 'rollout-progress', 'aria-live': 'polite'}));
  },

  // `slot` 0: into the preset each room plays; 1..10: into that stored preset.
  async start(rooms, first, slot, note) {
    if (!rooms.length) return notice(note, t('rolloutNone'), true);
    if (Records.newest === null) return notice(note, t('notRead'), true);
    if (!window.confirm(t('rolloutAsk', rooms.length))) return;
    notice(note, t('sending'));
    const body = {version: Records.newest, rooms, first};
    if (slot > 0) body.slot = slot;
    const reply = await Service.call('POST', 'rollouts', body);
    if (reply.status !== 202 && reply.status !== 200) {
      return notice(note, t('refused', reason(reply)), true);
    }
    this.id = reply.data.id;
    this.draw(reply.data);
    this.follow();
  },

  // Events bring the progress early; a slow poll makes sure the last step is never missed
  // (the run may end before its id is known here, or while the link is down).
  follow(delay = 1000) {
    clearTimeout(this.timer);
    const id = this.id;
    this.timer = setTimeout(async () => {
      if (!document.getElementById('rollout-note')) return;  // the room page was left
      const reply = await Service.call('GET', 'rollouts/' + encodeURIComponent(id));
      if (reply.status !== 200 || id !== this.id) return;
      this.draw(reply.data);
      if (reply.data.state !== 'done' && reply.data.state !== 'stopped') this.follow();
    }, delay);
  },

  draw(run) {
    const note = document.getElementById('rollout-note');
    const list = document.getElementById('rollout-progress');
    if (!note || !list) return;
    const steps = run.rooms || [];
    const verified = steps.filter((step) => step.state === 'verified').length;
    notice(note, t('rolloutState', run.id, run.state, verified, steps.length),
           run.state === 'stopped');
    list.replaceChildren(...steps.map((step) => el('li', {class: 'step ' + step.state},
        el('strong', {text: step.room}), ': ', String(step.state),
        step.error ? ' — ' + step.error : '')));
  },

  onEvent(event) {
    if (event.source !== 'rollout' || this.id === null) return;
    this.follow(100);
  },
};
