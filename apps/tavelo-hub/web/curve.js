'use strict';
// One EQ set's response as an SVG figure. The points come from the service; this file only
// places them on logarithmic frequency and linear decibel axes.

function curveFigure(set, hz, axes) {
  const width = 600, height = 240, left = 34, right = 8, top = 8, bottom = 22;
  const plotW = width - left - right, plotH = height - top - bottom;
  const span = Math.log10(axes.high_hz / axes.low_hz);
  const x = (f) => left + Math.log10(Math.max(f, 1) / axes.low_hz) / span * plotW;
  const limit = axes.db_limit;
  const y = (db) => top + (limit - Math.max(-limit * 1.5, Math.min(limit * 1.5, db))) /
                              (2 * limit) * plotH;
  const title = set.title[Lang.current] || set.name;

  const picture = svg('svg', {viewBox: `0 0 ${width} ${height}`, class: 'curve', role: 'img',
                              'aria-label': t('curveLabel', title)});
  const grid = svg('g', {class: 'grid'});
  for (let db = limit; db >= -limit; db -= 6) {
    grid.append(svg('line', {x1: left, x2: width - right, y1: y(db), y2: y(db),
                             class: db === 0 ? 'zero' : ''}));
    grid.append(svg('text', {x: left - 4, y: y(db) + 4, class: 'db', text: db}));
  }
  for (const f of axes.grid_hz) grid.append(svg('line', {x1: x(f), x2: x(f), y1: top,
                                                         y2: top + plotH}));
  for (const f of axes.label_hz) {
    grid.append(svg('text', {x: x(f), y: height - 6, class: 'hz',
                             text: f >= 1000 ? f / 1000 + 'k' : f}));
  }
  picture.append(grid);

  const points = [];
  for (let i = 0; i < hz.length && i < set.db.length; ++i) {
    if (hz[i] < axes.low_hz || hz[i] > axes.high_hz) continue;
    points.push(x(hz[i]).toFixed(1) + ',' + y(set.db[i]).toFixed(1));
  }
  const clip = 'clip-' + set.name;
  picture.append(svg('clipPath', {id: clip},
                     svg('rect', {x: left, y: top, width: plotW, height: plotH})));
  picture.append(svg('polyline', {points: points.join(' '), class: 'response',
                                  'clip-path': `url(#${clip})`}));

  set.bands.forEach((band, i) => {
    if (!band.marker) return;
    const marker = svg('g', {class: 'marker'},
                       svg('title', {text: t('band', i + 1, band.text)}),
                       svg('circle', {cx: x(band.hz), cy: y(band.gain_db), r: 8}),
                       svg('text', {x: x(band.hz), y: y(band.gain_db) + 3.5, text: i + 1}));
    picture.append(marker);
  });

  const list = el('ol', {class: 'bands'});
  for (const band of set.bands) list.append(el('li', {text: band.text}));
  return el('figure', {class: 'eq'}, el('figcaption', {text: title}), picture,
            el('details', {}, el('summary', {text: t('bands')}),
               list));
}
