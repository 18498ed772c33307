// Reads a TaskData zip with the open isoxml library and prints what it understood as JSON: the
// library's warnings, the partfields with their boundaries and guidance patterns, and each task's time
// log (records, first and last position and time, the last value of each process data).
// Usage: node isoxml_ler.js PASTA_NODE_MODULES ARQUIVO.zip
'use strict';
const path = require('path');
const fs = require('fs');
const { ISOXMLManager, TAGS } = require(path.join(process.argv[2], 'isoxml'));

async function main() {
    const manager = new ISOXMLManager();
    await manager.parseISOXMLFile(new Uint8Array(fs.readFileSync(process.argv[3])), 'application/zip');
    const saida = { avisos: manager.getWarnings(), talhoes: [], tarefas: [] };
    for (const pfd of manager.getEntitiesOfTag(TAGS.Partfield)) {
        const a = pfd.attributes;
        saida.talhoes.push({
            nome: a.PartfieldDesignator,
            area: a.PartfieldArea,
            limites: (a.PolygonnonTreatmentZoneonly || []).map(p => ({
                tipo: p.attributes.PolygonType,
                pontos: p.attributes.LineString[0].attributes.Point.length,
            })),
            guias: (a.GuidanceGroup || []).flatMap(g => (g.attributes.GuidancePattern || []).map(p => ({
                tipo: p.attributes.GuidancePatternType,
                pontos: p.attributes.LineString[0].attributes.Point.length,
            }))),
        });
    }
    for (const tsk of manager.getEntitiesOfTag(TAGS.Task)) {
        for (const tlg of tsk.attributes.TimeLog || []) {
            const info = tlg.parseBinaryFile();
            const r = info.timeLogs;
            const ultimos = {};
            for (const v of info.valuesInfo)
                ultimos[v.DDIString || v.valueKey.split('_')[0]] = r.length ? r[r.length - 1].values[v.valueKey] : null;
            const ponto = x => x ? { tempo: x.time.toISOString(), lat: x.position.PositionNorth,
                                     lon: x.position.PositionEast, estado: x.position.PositionStatus } : null;
            saida.tarefas.push({
                nome: tsk.attributes.TaskDesignator,
                arquivo: tlg.attributes.Filename,
                erros: tlg.parsingErrors,
                registros: r.length,
                primeiro: ponto(r[0]),
                ultimo: ponto(r[r.length - 1]),
                ultimos,
                taxas: info.valuesInfo.filter(v => ['0001', '0002', '0006', '0007', '000C', '0054'].includes(
                    v.valueKey.split('_')[0])).map(v => ({ ddi: v.valueKey.split('_')[0], min: v.minValue, max: v.maxValue })),
            });
        }
    }
    process.stdout.write(JSON.stringify(saida, null, 1) + '\n');
}

main().catch(e => { process.stderr.write(String(e && e.stack || e) + '\n'); process.exit(1); });
