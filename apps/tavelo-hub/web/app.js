'use strict';
// Sign-in, the header, the link banner and which view is on screen (#/ or #/room/NAME).

const main = document.getElementById('main');
const linkBanner = document.getElementById('link');

function showLink(up) {
  if (!Service.signedIn()) return;
  linkBanner.hidden = false;
  linkBanner.className = up ? 'link back' : 'link lost';
  linkBanner.textContent = up ? t('linkBack') : t('linkLost');
  if (up) setTimeout(() => { if (!Events.lost) linkBanner.hidden = true; }, 3000);
}

function drawHeader() {
  document.documentElement.lang = Lang.current === 'zh' ? 'zh-CN' : 'en';
  const lang = document.getElementById('lang');
  lang.textContent = t('language');
  lang.setAttribute('aria-label', t('languageLabel'));
  const signout = document.getElementById('signout');
  signout.textContent = t('signOut');
  signout.hidden = !Service.signedIn();
  document.getElementById('who').textContent =
      Service.signedIn() ? Service.user + ' (' + t(Service.role) + ')' : '';
}

function signInView(message) {
  const user = el('input', {id: 'user', name: 'user', autocomplete: 'username', required: true});
  const password = el('input', {id: 'password', name: 'password', type: 'password',
                                autocomplete: 'current-password', required: true});
  const note = el('p', {class: 'notice'});
  if (message) notice(note, message, true);
  const form = el('form', {class: 'signin', 'aria-labelledby': 'signin-h'},
                  el('h1', {id: 'signin-h', text: t('signIn')}),
                  el('label', {for: 'user', text: t('user')}), user,
                  el('label', {for: 'password', text: t('password')}), password,
                  el('button', {type: 'submit', text: t('signIn')}), note);
  form.addEventListener('submit', async (e) => {
    e.preventDefault();
    const reply = await Service.call('POST', 'session',
                                     {user: user.value, password: password.value});
    if (reply.status === 200) {
      Service.keep(reply.data.token, reply.data.role, user.value);
      return route();
    }
    password.value = '';
    if (reply.status === 401) notice(note, t('wrongPair'), true);
    else if (reply.status === 429) notice(note, t('tooMany', reply.retryAfter || '?'), true);
    else notice(note, reason(reply), true);
  });
  main.replaceChildren(form);
  user.focus();
}

function route() {
  drawHeader();
  if (!Service.signedIn()) return signInView();
  Events.start();
  const match = location.hash.match(/^#\/room\/(.+)$/);
  if (match) {
    let name;
    try { name = decodeURIComponent(match[1]); } catch (e) { name = ''; }
    Events.listener = (event) => {
      Rollout.onEvent(event);
      RoomView.onEvent(event);
    };
    RoomView.show(main, name);
  } else {
    RoomView.name = null;
    Events.listener = (event) => VenueView.onEvent(event);
    VenueView.show(main);
  }
  main.focus({preventScroll: true});
}

Service.onSignedOut = (message) => {
  linkBanner.hidden = true;
  drawHeader();
  signInView(message);
};
Service.onLink = (up) => showLink(up);
Events.onBack = () => route();

document.getElementById('lang').addEventListener('click', () => {
  Lang.set(Lang.current === 'zh' ? 'en' : 'zh');
  route();
});
document.getElementById('signout').addEventListener('click', async () => {
  await Service.call('DELETE', 'session');
  Service.forget();
  location.hash = '#/';
  route();
});
window.addEventListener('hashchange', route);
route();
