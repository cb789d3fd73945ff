'use strict';
// The venue service's API and its event stream.

const Service = {
  token: sessionStorage.getItem('tavelo.token'),
  role: sessionStorage.getItem('tavelo.role'),
  user: sessionStorage.getItem('tavelo.user'),
  onSignedOut: null,  // (message) => void
  onLink: null,       // (up: boolean) => void

  signedIn() { return !!this.token; },
  installer() { return this.role === 'owner' || this.role === 'installer'; },

  keep(token, role, user) {
    Object.assign(this, {token, role, user});
    sessionStorage.setItem('tavelo.token', token);
    sessionStorage.setItem('tavelo.role', role);
    sessionStorage.setItem('tavelo.user', user);
  },
  forget() {
    this.token = this.role = this.user = null;
    sessionStorage.removeItem('tavelo.token');
    sessionStorage.removeItem('tavelo.role');
    sessionStorage.removeItem('tavelo.user');
    Events.stop();
  },

  // {status, data}: status 0 when the service could not be reached at all.
  async call(method, path, body) {
    const headers = {};
    if (this.token) headers.Authorization = 'Bearer ' + this.token;
    if (body !== undefined) headers['Content-Type'] = 'application/json';
    let reply;
    try {
      reply = await fetch('/api/v1/' + path, {
        method, headers, body: body === undefined ? undefined : JSON.stringify(body),
        cache: 'no-store',
      });
    } catch (e) {
      if (this.onLink) this.onLink(false);
      return {status: 0, data: {error: t('noService')}};
    }
    let data = null;
    try { data = await reply.json(); } catch (e) { data = {}; }
    if (reply.status === 401 && path !== 'session') {
      this.forget();
      if (this.onSignedOut) this.onSignedOut(t('sessionEnded'));
    }
    return {status: reply.status, data, retryAfter: reply.headers.get('Retry-After')};
  },

  room(name) { return 'rooms/' + encodeURIComponent(name); },
};

// The reason a refused call gives, as the service words it.
function reason(reply) {
  if (reply.status === 404 && !(reply.data && reply.data.error)) return t('notAvailable');
  return (reply.data && reply.data.error) || ('HTTP ' + reply.status);
}

// The WebSocket of changes: one listener (the view on screen); reconnects with back-off and
// says so, and tells the view to catch up once it is back.
const Events = {
  socket: null,
  listener: null,   // (event) => void
  onBack: null,     // () => void: reload what is shown
  lost: false,
  delay: 500,
  timer: null,

  start() {
    if (this.socket || !Service.token) return;
    const scheme = location.protocol === 'https:' ? 'wss://' : 'ws://';
    const socket = new WebSocket(scheme + location.host + '/api/v1/events?token=' +
                                 encodeURIComponent(Service.token));
    this.socket = socket;
    socket.onopen = () => {
      this.delay = 500;
      if (this.lost) {
        this.lost = false;
        if (Service.onLink) Service.onLink(true);
        if (this.onBack) this.onBack();
      }
    };
    socket.onmessage = (message) => {
      let event;
      try { event = JSON.parse(message.data); } catch (e) { return; }
      if (event && typeof event === 'object' && this.listener) this.listener(event);
    };
    socket.onclose = () => {
      if (this.socket !== socket) return;
      this.socket = null;
      if (!Service.token) return;
      this.lost = true;
      if (Service.onLink) Service.onLink(false);
      this.timer = setTimeout(() => this.start(), this.delay);
      this.delay = Math.min(this.delay * 2, 8000);
    };
  },

  stop() {
    clearTimeout(this.timer);
    const socket = this.socket;
    this.socket = null;
    if (socket) socket.close();
  },
};
