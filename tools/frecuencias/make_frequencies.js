// Writes the ranked Spanish word list of @zxcvbn-ts/language-es-es
// (commonWords, most frequent first) as Windows-1252 bytes, one lower-case
// word per line, LF after every line, to the file named on the command line.
// Words are taken in NFC; a word with a character outside Windows-1252 or
// with blanks or control characters is left out, and a repeated word keeps
// its first (best) rank.
'use strict';

const fs = require('fs');
// The package's own entry point decompresses its lists through
// @zxcvbn-ts/dictionary-compression.
const { dictionary } = require('@zxcvbn-ts/language-es-es');

// Windows-1252 0x80..0x9F; the rest of 0xA0..0xFF equals Latin-1.
const HIGH = [
  0x20ac, -1, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
  0x2039, 0x0152, -1, 0x017d, -1, -1, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
  0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, -1, 0x017e, 0x0178,
];

function toCp1252(word) {
  const bytes = [];
  for (const ch of word) {
    const cp = ch.codePointAt(0);
    if (cp <= 0x20 || cp === 0x7f || (cp >= 0x80 && cp <= 0xa0)) {
      return null;
    }
    if (cp < 0x80 || (cp > 0xa0 && cp <= 0xff)) {
      bytes.push(cp);
      continue;
    }
    const high = HIGH.indexOf(cp);
    if (high < 0) {
      return null;
    }
    bytes.push(0x80 + high);
  }
  return bytes.length > 0 ? Buffer.from(bytes) : null;
}

const words = dictionary['commonWords-es-es'];
if (!Array.isArray(words) || words.length < 30000) {
  console.error('make_frequencies.js: commonWords is missing or short');
  process.exit(1);
}
const seen = new Set();
const lines = [];
for (const raw of words) {
  const word = raw.normalize('NFC').toLowerCase();
  const bytes = toCp1252(word);
  if (bytes === null || seen.has(word)) {
    continue;
  }
  seen.add(word);
  lines.push(bytes, Buffer.from('\n'));
}
fs.writeFileSync(process.argv[2], Buffer.concat(lines));
console.error(`frecuencias: ${words.length} words in the package, ${seen.size} written`);
