// Writes the flashcard packages the import test reads, through a library
// that nobody here wrote:  node make_decks.js OUTDIR german|polish|large
//   german.apkg  a deck of German words in the markup note editors write
//   polish.apkg  a deck whose translations hold a letter code page 1252 lacks
//   large.apkg   500 generated notes (the library's SQLite has 16 MB of
//                memory for everything, one deck per process)
'use strict';
const fs = require('fs');
const path = require('path');
const AnkiExport = require('anki-apkg-export').default;

const out = process.argv[2];
const which = process.argv[3];
// The library's emscripten SQLite complains about an API it uses; keep the log clean.
console.warn = () => {};

function write(deckName, cards, file) {
  const apkg = new AnkiExport(deckName);
  for (const [front, back] of cards) apkg.addCard(front, back, { tags: ['vocalore'] });
  return apkg.save().then((zip) => fs.writeFileSync(path.join(out, file), zip, 'binary'));
}

const german = [
  ['der Hund', 'the dog'],
  ['die Katze', 'the cat<br>the puss'],
  ['<b>das Haus</b>', '<div>the house</div><div>the home</div>'],
  ['gehen [sound:gehen.mp3]', 'to go'],
  ['schön', 'beautiful&nbsp;&amp; nice'],
  ['Straße', 'street <img src="strasse.jpg">'],
  ['&Auml;pfel', 'apples'],
  ['die {{c1::Stadt::place}}', 'the town'],
  ['  lesen  ', '  to read  '],
  ['groß', '&lt;big&gt; &quot;large&quot;'],
  ['<span style="color: #ff0000">rot</span>', 'red'],
  ['leer', ''],
  ['', 'no word'],
  ['<br>', 'only markup'],
  ['Café &#233; &#x00E9;', 'caf&eacute;'],
  ['laufen', '<ul><li>to run</li><li>to walk</li></ul>'],
  ['der Löffel', 'the spoon<br/><br/>'],
  ['€', 'euro sign &euro;'],
];
const polish = [
  ['dobry', 'good'],
  ['łódź', 'boat'],
  ['żółw', 'turtle (ż)'],
];
const large = [];
for (let i = 1; i <= 500; i++) large.push([`Wort ${i} <i>fett</i>`, `word ${i}<br>meaning ${i} &amp; more`]);

const decks = { german: ['Deutsch', german], polish: ['Polski', polish], large: ['Groß', large] };
write(decks[which][0], decks[which][1], `${which}.apkg`).catch((err) => {
  console.error(err.stack || err);
  process.exit(1);
});
