// The web compressors' encoder, for bench/look_bench.sh: a PPM picture encoded at each quality
// with the package's default options, as a web page hands it a canvas's pixels.
//   node bench/look_mozjpeg.mjs NODE_FOLDER SOURCE.ppm OUTPUT_FOLDER QUALITY...
// writes OUTPUT_FOLDER/QUALITY.jpg for each quality. NODE_FOLDER is where `npm install` put
// the package; the script lives in the repository, the package outside it.
import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

// A binary PPM (P6, 8 bits) as the RGBA rows a canvas gives, opaque.
function readPpm(file) {
    const bytes = readFileSync(file);
    const fields = [];
    let at = 0;
    while (fields.length < 4) {
        while (/\s/.test(String.fromCharCode(bytes[at]))) at++;
        if (bytes[at] === 0x23) { // a comment runs to the end of its line
            while (bytes[at] !== 0x0a) at++;
            continue;
        }
        const start = at;
        while (!/\s/.test(String.fromCharCode(bytes[at]))) at++;
        fields.push(bytes.toString('latin1', start, at));
    }
    const [magic, width, height, depth] = [fields[0], +fields[1], +fields[2], +fields[3]];
    if (magic !== 'P6' || depth !== 255) throw new Error(`${file}: not an 8-bit binary PPM file`);
    const rgb = bytes.subarray(at + 1);
    const data = new Uint8ClampedArray(width * height * 4);
    for (let i = 0, j = 0; i < data.length; i += 4, j += 3) {
        data[i] = rgb[j];
        data[i + 1] = rgb[j + 1];
        data[i + 2] = rgb[j + 2];
        data[i + 3] = 255;
    }
    return { data, width, height, colorSpace: 'srgb' };
}

const [nodeFolder, source, output, ...qualities] = process.argv.slice(2);
const require = createRequire(join(nodeFolder, 'package.json'));
const { default: encode, init } = await import(
    pathToFileURL(require.resolve('@jsquash/jpeg/encode.js')).href);
// Node's fetch cannot read a file: URL, so the module is handed its code directly.
await init({ wasmBinary: readFileSync(require.resolve('@jsquash/jpeg/codec/enc/mozjpeg_enc.wasm')) });
const picture = readPpm(source);
for (const quality of qualities) {
    const bytes = await encode(picture, { quality: Number(quality) });
    writeFileSync(join(output, `${quality}.jpg`), Buffer.from(bytes));
}
